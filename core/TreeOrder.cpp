#include "core/TreeOrder.h"

#include "core/WideChars.h"

#include <algorithm>
#include <unordered_set>

int CompareTitlesNoCase(std::u16string_view a, std::u16string_view b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const char16_t x = WideChars::Lower(a[i]);
        const char16_t y = WideChars::Lower(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool SiblingLess(bool aFolder, std::u16string_view aTitle, bool bFolder, std::u16string_view bTitle) {
    if (aFolder != bFolder)
        return aFolder;
    return CompareTitlesNoCase(aTitle, bTitle) < 0;
}

ChildIndex IndexChildren(const NotesMgr& mgr) {
    // Collected in ascending id (map order), then sorted stably.
    ChildIndex index;
    index.children.reserve(mgr.nodes.size() / 4 + 1);
    for (const auto& [id, node] : mgr.nodes) {
        if (node.parentId == -1)
            index.roots.push_back(&node);
        else
            index.children[node.parentId].push_back(&node);
    }
    const auto less = [](const NoteRecord* a, const NoteRecord* b) { return SiblingLess(*a, *b); };
    std::stable_sort(index.roots.begin(), index.roots.end(), less);
    for (auto& [parent, list] : index.children)
        std::stable_sort(list.begin(), list.end(), less);
    return index;
}

TreeListing ListTree(const NotesMgr& mgr) {
    const ChildIndex index = IndexChildren(mgr);
    TreeListing result;
    result.shown.reserve(mgr.nodes.size());
    // Every node has one parent, so a walk down from the roots meets each
    // node at most once, and nodes in a loop of parents are never met. An
    // explicit stack: a chain of 100,000 nested folders must not exhaust the
    // call stack.
    std::vector<ListedNode> stack;
    for (auto it = index.roots.rbegin(); it != index.roots.rend(); ++it)
        stack.push_back({(*it)->nodeId, 0, 0, *it});
    while (!stack.empty()) {
        const ListedNode item = stack.back();
        stack.pop_back();
        result.shown.push_back(item);
        if (!item.record->isFolder)
            continue;
        const auto found = index.children.find(item.nodeId);
        if (found == index.children.end())
            continue;
        for (auto it = found->second.rbegin(); it != found->second.rend(); ++it)
            stack.push_back({(*it)->nodeId, item.depth + 1, 0, *it});
    }
    if (result.shown.size() < mgr.nodes.size()) {
        std::unordered_set<int32_t> shown;
        for (const ListedNode& item : result.shown)
            shown.insert(item.nodeId);
        for (const auto& [id, node] : mgr.nodes) {
            if (!shown.contains(id))
                result.unreachable.push_back(id);
        }
    }
    return result;
}

namespace {

// A node with its folders from its root down; empty when no root reaches it
// (a missing parent, a parent that is a note, parents in a loop).
std::vector<const NoteRecord*> chainOf(const NotesMgr& mgr, const NoteRecord& node) {
    std::vector<const NoteRecord*> chain{&node};
    while (chain.back()->parentId != -1) {
        const NoteRecord* parent = mgr.FindNode(chain.back()->parentId);
        if (!parent || !parent->isFolder || chain.size() > mgr.nodes.size())
            return {};
        chain.push_back(parent);
    }
    std::reverse(chain.begin(), chain.end());
    return chain;
}

// Two siblings (or roots) as IndexChildren orders them: equal ones by id.
bool listedFirst(const NoteRecord* a, const NoteRecord* b) {
    if (SiblingLess(*a, *b))
        return true;
    return !SiblingLess(*b, *a) && a->nodeId < b->nodeId;
}

// Depth first: an ancestor before its nodes, else where the chains part.
bool chainFirst(const std::vector<const NoteRecord*>& a, const std::vector<const NoteRecord*>& b) {
    for (size_t i = 0;; ++i) {
        if (i == b.size())
            return false;
        if (i == a.size())
            return true;
        if (a[i] != b[i])
            return listedFirst(a[i], b[i]);
    }
}

} // namespace

std::vector<int32_t> SortInTreeOrder(const NotesMgr& mgr, std::vector<int32_t> ids) {
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    std::vector<std::vector<const NoteRecord*>> reachable;
    std::vector<int32_t> unreachable;
    for (int32_t id : ids) {
        const NoteRecord* node = mgr.FindNode(id);
        if (!node)
            continue;
        auto chain = chainOf(mgr, *node);
        if (chain.empty())
            unreachable.push_back(id);
        else
            reachable.push_back(std::move(chain));
    }
    std::sort(reachable.begin(), reachable.end(), chainFirst);
    std::vector<int32_t> sorted;
    sorted.reserve(reachable.size() + unreachable.size());
    for (const auto& chain : reachable)
        sorted.push_back(chain.back()->nodeId);
    sorted.insert(sorted.end(), unreachable.begin(), unreachable.end());
    return sorted;
}
