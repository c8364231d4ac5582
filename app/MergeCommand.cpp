#include "app/MergeCommand.h"

#include "app/CNotesDoc.h"

MergeCommand::MergeCommand(CNotesDoc& doc, NotesMgr& merged) : m_doc(doc) {
    m_other.SwapContent(merged);
}

void MergeCommand::redo() {
    Exchange();
}

void MergeCommand::undo() {
    Exchange();
}

void MergeCommand::Exchange() {
    m_doc.notes().SwapContent(m_other);
    m_doc.updateAllViews();
    emit m_doc.templatesChanged();
}
