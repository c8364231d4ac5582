#pragma once
// Delete: the node and everything below it leave the database; undo puts
// their records back under the same ids.

#include "core/SubtreeRecords.h"

#include <QUndoCommand>

class CNotesDoc;

class DeleteNodeCommand : public QUndoCommand {
public:
    DeleteNodeCommand(CNotesDoc& doc, int32_t nodeId);

    void redo() override;
    void undo() override;

protected:
    CNotesDoc& m_doc;
    const int32_t m_nodeId;

private:
    SubtreeRecords m_taken;
};
