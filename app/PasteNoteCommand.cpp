#include "app/PasteNoteCommand.h"

#include "app/CNotesDoc.h"
#include "core/TreeOps.h"

PasteNoteCommand::PasteNoteCommand(CNotesDoc& doc, int32_t folderId)
    : InsertNodesCommand(doc), m_folderId(folderId) {}

int32_t PasteNoteCommand::Insert() {
    return PasteNote(m_doc.notes(), m_folderId, m_doc.clipboardNote());
}
