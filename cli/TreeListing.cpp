#include "cli/TreeListing.h"

#include <algorithm>
#include <clocale>
#include <cwctype>
#include <locale.h>
#include <unordered_map>

namespace {

// Folding through the C.UTF-8 locale covers every script, not only ASCII, and
// does not depend on the user's own locale settings.
locale_t foldingLocale() {
    static const locale_t loc = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return loc;
}

char16_t foldUnit(char16_t c) {
    if (c < 0x80)
        return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
    if (c >= 0xD800 && c <= 0xDFFF)
        return c;
    const locale_t loc = foldingLocale();
    if (!loc)
        return c;
    const wint_t lower = towlower_l(static_cast<wint_t>(c), loc);
    // A lower-case form outside the BMP would not fit one unit; keep the unit then.
    return lower <= 0xFFFF ? static_cast<char16_t>(lower) : c;
}

} // namespace

int CompareTitlesNoCase(const std::u16string& a, const std::u16string& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const char16_t x = foldUnit(a[i]);
        const char16_t y = foldUnit(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool SiblingLess(const NoteRecord& a, const NoteRecord& b) {
    const bool aFolder = a.isFolder != 0;
    const bool bFolder = b.isFolder != 0;
    if (aFolder != bFolder)
        return aFolder;
    return CompareTitlesNoCase(a.title, b.title) < 0;
}

TreeListing ListTree(const NotesMgr& mgr) {
    // Children indexed once, in ascending id (map order), then sorted stably.
    std::unordered_map<int32_t, std::vector<const NoteRecord*>> children;
    std::vector<const NoteRecord*> roots;
    for (const auto& [id, node] : mgr.nodes) {
        if (node.parentId == -1)
            roots.push_back(&node);
        else
            children[node.parentId].push_back(&node);
    }
    const auto less = [](const NoteRecord* a, const NoteRecord* b) { return SiblingLess(*a, *b); };
    for (auto& [parent, list] : children)
        std::stable_sort(list.begin(), list.end(), less);

    TreeListing result;
    result.shown.reserve(mgr.nodes.size());
    std::unordered_map<int32_t, bool> seen;
    // An explicit stack: a chain of 100,000 nested folders must not exhaust
    // the call stack.
    std::vector<ListedNode> stack;
    for (auto it = roots.rbegin(); it != roots.rend(); ++it)
        stack.push_back({(*it)->nodeId, 0});
    while (!stack.empty()) {
        const ListedNode item = stack.back();
        stack.pop_back();
        if (seen[item.nodeId])
            continue;
        seen[item.nodeId] = true;
        result.shown.push_back(item);
        const NoteRecord* node = mgr.FindNode(item.nodeId);
        if (!node || !node->isFolder)
            continue;
        const auto found = children.find(item.nodeId);
        if (found == children.end())
            continue;
        for (auto it = found->second.rbegin(); it != found->second.rend(); ++it)
            stack.push_back({(*it)->nodeId, item.depth + 1});
    }
    for (const auto& [id, node] : mgr.nodes) {
        if (!seen[id])
            result.unreachable.push_back(id);
    }
    return result;
}
