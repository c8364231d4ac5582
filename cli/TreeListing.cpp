#include "cli/TreeListing.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

bool SiblingLess(const TreeSkeleton& skeleton, const TreeEntry& a, const TreeEntry& b) {
    return SiblingLess(a.isFolder != 0, skeleton.title(a), b.isFolder != 0, skeleton.title(b));
}

TreeListing ListTree(const TreeSkeleton& skeleton) {
    const std::vector<TreeEntry>& nodes = skeleton.nodes;
    const size_t n = nodes.size();
    constexpr size_t kNone = SIZE_MAX;

    // Children indexed once, each folder's in one stretch of `children`
    // (ascending id within it, the order of `nodes`), then sorted stably.
    std::vector<size_t> parentOf(n, kNone);
    std::vector<size_t> childCount(n + 1, 0);
    std::vector<size_t> roots;
    for (size_t i = 0; i < n; ++i) {
        if (nodes[i].parentId == -1) {
            roots.push_back(i);
            continue;
        }
        if (const TreeEntry* parent = skeleton.find(nodes[i].parentId)) {
            parentOf[i] = static_cast<size_t>(parent - nodes.data());
            ++childCount[parentOf[i] + 1];
        }
    }
    std::vector<size_t>& start = childCount; // becomes the start of each stretch
    for (size_t i = 0; i < n; ++i)
        start[i + 1] += start[i];
    std::vector<size_t> children(start[n]);
    std::vector<size_t> fill(start.begin(), start.end() - 1);
    for (size_t i = 0; i < n; ++i) {
        if (parentOf[i] != kNone)
            children[fill[parentOf[i]]++] = i;
    }
    const auto less = [&](size_t a, size_t b) { return SiblingLess(skeleton, nodes[a], nodes[b]); };
    for (size_t p = 0; p < n; ++p) {
        if (start[p + 1] - start[p] > 1)
            std::stable_sort(children.begin() + static_cast<std::ptrdiff_t>(start[p]),
                             children.begin() + static_cast<std::ptrdiff_t>(start[p + 1]), less);
    }

    TreeListing result;
    result.shown.reserve(n);
    std::vector<bool> seen(n, false);
    // An explicit stack: a chain of 100,000 nested folders must not exhaust
    // the call stack.
    std::vector<ListedNode> stack;
    for (auto it = roots.rbegin(); it != roots.rend(); ++it)
        stack.push_back({nodes[*it].nodeId, 0, *it, nullptr});
    while (!stack.empty()) {
        const ListedNode item = stack.back();
        stack.pop_back();
        if (seen[item.index])
            continue;
        seen[item.index] = true;
        result.shown.push_back(item);
        if (!nodes[item.index].isFolder)
            continue;
        for (size_t c = start[item.index + 1]; c > start[item.index]; --c) {
            const size_t child = children[c - 1];
            stack.push_back({nodes[child].nodeId, item.depth + 1, child, nullptr});
        }
    }
    for (size_t i = 0; i < n; ++i) {
        if (!seen[i])
            result.unreachable.push_back(nodes[i].nodeId);
    }
    return result;
}
