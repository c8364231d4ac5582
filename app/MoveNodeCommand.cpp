#include "app/MoveNodeCommand.h"

#include "app/CNotesDoc.h"
#include "core/SubtreeRecords.h"

MoveNodeCommand::MoveNodeCommand(CNotesDoc& doc, int32_t nodeId, int32_t folderId)
    : m_doc(doc), m_nodeId(nodeId), m_folderId(folderId) {}

void MoveNodeCommand::redo() {
    const int32_t previous = MoveNode(m_doc.notes(), m_nodeId, m_folderId);
    if (previous < 0) {
        setObsolete(true);
        return;
    }
    m_previousId = previous;
    emit m_doc.nodeMoved(m_nodeId);
}

void MoveNodeCommand::undo() {
    if (MoveNode(m_doc.notes(), m_nodeId, m_previousId) >= 0)
        emit m_doc.nodeMoved(m_nodeId);
}
