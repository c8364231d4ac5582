#pragma once
// What the find dialog needs of the tree it searches: its items in the order
// shown, the selected node, and selecting. The tree view implements it; the
// dialog knows nothing else of the view.

#include "core/TreeOrder.h"

#include <cstdint>

class FindTarget {
public:
    virtual ~FindTarget() = default;

    // Every item of the tree, collapsed folders included, in the order the
    // tree shows them (an item appended since the last fill stays where it
    // is shown), each with its node; an item whose node is gone has none.
    virtual TreeListing FindWalkOrder() const = 0;
    // The nodeId of the selected item, or -1 when nothing is selected.
    virtual int32_t FindSelection() const = 0;
    // Find: selects the tree's first item, the database item.
    virtual void SelectDatabaseItem() = 0;
    // A match: expands the folders above the node and selects it, which
    // also shows it in the preview.
    virtual void SelectFoundNode(int32_t nodeId) = 0;
};
