#pragma once
// The companion's listing of a tree skeleton (ids, kinds and titles read node
// by node, without the rest of the database), in the display order that
// core/TreeOrder.h defines for the tree window and find.

#include "cli/TreeSkeleton.h"
#include "core/TreeOrder.h"

TreeListing ListTree(const TreeSkeleton& skeleton);

// The display order of two siblings of the skeleton.
bool SiblingLess(const TreeSkeleton& skeleton, const TreeEntry& a, const TreeEntry& b);
