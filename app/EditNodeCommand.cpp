#include "app/EditNodeCommand.h"

#include "app/CNotesDoc.h"

EditNodeCommand::EditNodeCommand(CNotesDoc& doc, NoteEdit edit) : m_doc(doc), m_edit(std::move(edit)) {}

void EditNodeCommand::redo() {
    QUndoCommand::redo();
    if (m_edit.Apply(m_doc.notes(), true))
        emit m_doc.nodeChanged(m_edit.nodeId());
}

void EditNodeCommand::undo() {
    if (m_edit.Apply(m_doc.notes(), false))
        emit m_doc.nodeChanged(m_edit.nodeId());
    QUndoCommand::undo();
}
