#pragma once
// The tree in the order the tree window shows it: children of a folder with
// folders first, then notes, each group by title compared case-insensitively
// (lower-case folding, as the platform's wide-string comparison does). Nodes
// of one kind with equal titles keep ascending nodeId, so the listing is the
// same on every run.

#include "cli/TreeSkeleton.h"
#include "core/NotesMgr.h"

#include <string>
#include <vector>

struct ListedNode {
    int32_t nodeId = 0;
    int depth = 0;
    size_t index = 0; // in the skeleton's nodes
};

struct TreeListing {
    // Every node reachable from a root (parentId -1), depth first, in display order.
    std::vector<ListedNode> shown;
    // Nodes no root reaches (a missing parent or parents in a loop), ascending id.
    std::vector<int32_t> unreachable;
};

TreeListing ListTree(const TreeSkeleton& skeleton);
TreeListing ListTree(const NotesMgr& mgr);

// <0, 0 or >0 comparing two titles case-insensitively.
int CompareTitlesNoCase(std::u16string_view a, std::u16string_view b);

// The display order of two siblings: folders before notes, then by title.
bool SiblingLess(const TreeSkeleton& skeleton, const TreeEntry& a, const TreeEntry& b);
