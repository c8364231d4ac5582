#pragma once
// New Folder and New Note: the node edited in the property sheet, placed by the selection.

#include "app/InsertNodesCommand.h"

class CreateNodeCommand : public InsertNodesCommand {
public:
    CreateNodeCommand(CNotesDoc& doc, int32_t selectedId, NoteRecord record);

protected:
    int32_t Insert() override;

private:
    int32_t m_selectedId;
    NoteRecord m_record;
};
