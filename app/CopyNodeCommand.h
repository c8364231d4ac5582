#pragma once
// A drop with Ctrl held: a copy of the node, and of everything below a folder, under fresh ids.

#include "app/InsertNodesCommand.h"

class CopyNodeCommand : public InsertNodesCommand {
public:
    CopyNodeCommand(CNotesDoc& doc, int32_t nodeId, int32_t folderId);

protected:
    int32_t Insert() override;

private:
    int32_t m_sourceId;
    int32_t m_folderId;
};
