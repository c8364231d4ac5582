#pragma once
// Paste: a new note from the clipboard slot in the folder.

#include "app/InsertNodesCommand.h"

class PasteNoteCommand : public InsertNodesCommand {
public:
    PasteNoteCommand(CNotesDoc& doc, int32_t folderId);

protected:
    int32_t Insert() override;

private:
    int32_t m_folderId;
};
