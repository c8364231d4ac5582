#pragma once
// The tree in the order the tree window shows it: children of a folder with
// folders first, then notes, each group by title compared case-insensitively
// (lower-case folding, as the platform's wide-string comparison does). Nodes
// of one kind with equal titles keep ascending nodeId, so the order is the
// same on every run. The tree window, find and the command-line companion
// all take the order from here.

#include "core/NotesMgr.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct ListedNode {
    int32_t nodeId = 0;
    int depth = 0;
    // A listing of the companion's skeleton: the node's position there.
    size_t index = 0;
    // A listing of a node map: the node itself, valid while the map is unchanged.
    const NoteRecord* record = nullptr;
};

struct TreeListing {
    // Every node reachable from a root (parentId -1), depth first, in display order.
    std::vector<ListedNode> shown;
    // Nodes no root reaches (a missing parent or parents in a loop), ascending id.
    std::vector<int32_t> unreachable;
};

// <0, 0 or >0 comparing two titles case-insensitively.
int CompareTitlesNoCase(std::u16string_view a, std::u16string_view b);

// The display order of two siblings: folders before notes, then by title.
bool SiblingLess(bool aFolder, std::u16string_view aTitle, bool bFolder, std::u16string_view bTitle);
inline bool SiblingLess(const NoteRecord& a, const NoteRecord& b) {
    return SiblingLess(a.isFolder != 0, a.title, b.isFolder != 0, b.title);
}

// The children of every parent id in display order, and the roots (parentId
// -1) in the same order. Indexed once over the whole node map.
struct ChildIndex {
    std::unordered_map<int32_t, std::vector<const NoteRecord*>> children;
    std::vector<const NoteRecord*> roots;
};
ChildIndex IndexChildren(const NotesMgr& mgr);

TreeListing ListTree(const NotesMgr& mgr);

// The nodes `ids` (each once; ids the database does not hold left out) in
// the order ListTree lists them, without listing the whole tree: for a few
// nodes of a large database.
std::vector<int32_t> SortInTreeOrder(const NotesMgr& mgr, std::vector<int32_t> ids);
