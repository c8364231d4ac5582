#pragma once
// Cut: the note goes into the clipboard slot and leaves the database. Undo
// brings the note back; the clipboard slot keeps its copy.

#include "app/DeleteNodeCommand.h"

class CutNoteCommand : public DeleteNodeCommand {
public:
    using DeleteNodeCommand::DeleteNodeCommand;

    void redo() override;

private:
    bool m_copied = false;
};
