#include "app/InsertNodesCommand.h"

#include "app/CNotesDoc.h"
#include "core/TreeOps.h"

InsertNodesCommand::InsertNodesCommand(CNotesDoc& doc) : m_doc(doc) {}

void InsertNodesCommand::redo() {
    // Template changes made on the way (from the property sheet) come first:
    // the new note may use them.
    QUndoCommand::redo();
    NotesMgr& notes = m_doc.notes();
    std::vector<int32_t> ids;
    if (m_nodeId < 0) {
        m_nodeId = Insert();
        if (m_nodeId < 0) {
            setObsolete(true);
            return;
        }
        ids = CollectSubtree(notes, m_nodeId);
    } else {
        ids = m_taken.ids();
        if (!RestoreSubtree(notes, m_taken))
            return;
    }
    emit m_doc.nodesInserted(m_nodeId, ids);
}

void InsertNodesCommand::undo() {
    m_taken = TakeSubtree(m_doc.notes(), m_nodeId);
    if (!m_taken.empty())
        emit m_doc.nodeRemoved(m_nodeId);
    QUndoCommand::undo();
}
