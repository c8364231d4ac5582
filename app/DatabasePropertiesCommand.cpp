#include "app/DatabasePropertiesCommand.h"

#include "app/CNotesDoc.h"
#include "core/NotesMgr.h"

DatabaseState DatabaseState::Of(const NotesMgr& notes) {
    return {notes.dbTitle, notes.dbDescription, notes.password, notes.protection};
}

void DatabaseState::ApplyTo(NotesMgr& notes) const {
    notes.dbTitle = title;
    notes.dbDescription = description;
    notes.password = password;
    notes.protection = protection;
    notes.SetModified();
}

DatabasePropertiesCommand::DatabasePropertiesCommand(CNotesDoc& doc, DatabaseState before,
                                                     DatabaseState after)
    : m_doc(doc), m_before(std::move(before)), m_after(std::move(after)) {}

void DatabasePropertiesCommand::redo() {
    m_after.ApplyTo(m_doc.notes());
    emit m_doc.databaseItemChanged();
}

void DatabasePropertiesCommand::undo() {
    m_before.ApplyTo(m_doc.notes());
    emit m_doc.databaseItemChanged();
}
