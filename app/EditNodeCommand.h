#pragma once
// OK in a node's property sheet: the node's record before and after (and the
// templates, when the sheet's template editor changed them) as one step.

#include "core/SubtreeRecords.h"

#include <QUndoCommand>

class CNotesDoc;

class EditNodeCommand : public QUndoCommand {
public:
    EditNodeCommand(CNotesDoc& doc, NoteEdit edit);

    void redo() override;
    void undo() override;

private:
    CNotesDoc& m_doc;
    NoteEdit m_edit;
};
