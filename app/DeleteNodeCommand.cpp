#include "app/DeleteNodeCommand.h"

#include "app/CNotesDoc.h"

DeleteNodeCommand::DeleteNodeCommand(CNotesDoc& doc, int32_t nodeId) : m_doc(doc), m_nodeId(nodeId) {}

void DeleteNodeCommand::redo() {
    m_taken = TakeSubtree(m_doc.notes(), m_nodeId);
    if (m_taken.empty()) {
        setObsolete(true);
        return;
    }
    emit m_doc.nodeRemoved(m_nodeId);
}

void DeleteNodeCommand::undo() {
    const std::vector<int32_t> ids = m_taken.ids();
    if (RestoreSubtree(m_doc.notes(), m_taken))
        emit m_doc.nodesInserted(m_nodeId, ids);
}
