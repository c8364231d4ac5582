#pragma once
// The common part of the steps that bring nodes into the database (New Folder,
// New Note, Paste, a copying drop): the first redo makes them, undo takes
// them out with their records, and a later redo puts the same records back
// under the same ids.

#include "core/SubtreeRecords.h"

#include <QUndoCommand>

class CNotesDoc;

class InsertNodesCommand : public QUndoCommand {
public:
    void redo() override;
    void undo() override;

    // The node the step made; -1 before the first redo or when it made none.
    int32_t nodeId() const { return m_nodeId; }

protected:
    explicit InsertNodesCommand(CNotesDoc& doc);
    // Makes the nodes; returns the top one's id, or -1 when nothing was made.
    virtual int32_t Insert() = 0;

    CNotesDoc& m_doc;

private:
    SubtreeRecords m_taken;
    int32_t m_nodeId = -1;
};
