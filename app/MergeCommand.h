#pragma once
// One step of a merge: the merged database and the one before it. The step
// holds whichever of the two is not shown and exchanges them on undo and
// redo, so neither is copied however many records it has.

#include "core/NotesMgr.h"

#include <QUndoCommand>

class CNotesDoc;

class MergeCommand : public QUndoCommand {
public:
    // Takes the content and the password of `merged`.
    MergeCommand(CNotesDoc& doc, NotesMgr& merged);

    void redo() override;
    void undo() override;

private:
    void Exchange();

    CNotesDoc& m_doc;
    NotesMgr m_other;
};
