#pragma once
// A drop without Ctrl: the node, with everything below it, goes into another folder.

#include <QUndoCommand>
#include <cstdint>

class CNotesDoc;

class MoveNodeCommand : public QUndoCommand {
public:
    MoveNodeCommand(CNotesDoc& doc, int32_t nodeId, int32_t folderId);

    void redo() override;
    void undo() override;

private:
    void MoveTo(int32_t folderId);

    CNotesDoc& m_doc;
    const int32_t m_nodeId;
    const int32_t m_folderId;
    int32_t m_previousId = -1;
};
