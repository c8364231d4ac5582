#include "app/CreateNodeCommand.h"

#include "app/CNotesDoc.h"
#include "core/TreeOps.h"

CreateNodeCommand::CreateNodeCommand(CNotesDoc& doc, int32_t selectedId, NoteRecord record)
    : InsertNodesCommand(doc), m_selectedId(selectedId), m_record(std::move(record)) {}

int32_t CreateNodeCommand::Insert() {
    return CreateNodeFromRecord(m_doc.notes(), m_selectedId, m_record);
}
