#include "app/CopyNodeCommand.h"

#include "app/CNotesDoc.h"
#include "core/SubtreeRecords.h"

CopyNodeCommand::CopyNodeCommand(CNotesDoc& doc, int32_t nodeId, int32_t folderId)
    : InsertNodesCommand(doc), m_sourceId(nodeId), m_folderId(folderId) {}

int32_t CopyNodeCommand::Insert() {
    return CopySubtree(m_doc.notes(), m_sourceId, m_folderId);
}
