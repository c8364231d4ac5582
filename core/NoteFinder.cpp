#include "core/NoteFinder.h"

#include "core/FindPattern.h"

#include <algorithm>

namespace {

bool NodeMatches(const NoteRecord& node, const FindPattern& pattern, int scope,
                 NoteFinder::BodyToText bodyToText) {
    const auto bodyMatches = [&] { return !node.body.empty() && pattern.Matches(bodyToText(node.body)); };
    switch (scope) {
    case FindInTitle:
        return pattern.Matches(node.title);
    case FindInBody:
        return bodyMatches();
    case FindInTitleAndBody:
        return pattern.Matches(node.title) || bodyMatches();
    default:
        return false;
    }
}

} // namespace

NoteFinder::NoteFinder(BodyToText bodyToText) : m_bodyToText(bodyToText) {}

NoteFinder::Result NoteFinder::Step(const NotesMgr& mgr, const FindOptions& options, int32_t selectedId) {
    return Step(ListTree(mgr), options, selectedId);
}

NoteFinder::Result NoteFinder::Step(const TreeListing& tree, const FindOptions& options, int32_t selectedId,
                                    Known* known) {
    const FindPattern pattern(TrimFindText(options.text), options.matchCase, options.wholeWord);
    if (pattern.empty())
        return {};

    size_t start = 0;
    if (!m_passedSelection) {
        // The selected node itself is not tested again. With no selection in
        // the tree there is nothing to pass, so the walk starts at the top
        // rather than never finding anything.
        const auto selected = std::find_if(tree.shown.begin(), tree.shown.end(),
                                           [&](const ListedNode& item) { return item.nodeId == selectedId; });
        if (selected != tree.shown.end())
            start = static_cast<size_t>(selected - tree.shown.begin()) + 1;
    }
    m_passedSelection = true;
    if (known)
        known->resize(tree.shown.size(), 0);
    for (size_t i = start; i < tree.shown.size(); ++i) {
        const NoteRecord* node = tree.shown[i].record;
        bool matches = false;
        if (known && (*known)[i] != 0) {
            matches = (*known)[i] > 0;
        } else {
            // An item whose node is gone never matches.
            matches = node && NodeMatches(*node, pattern, options.scope, m_bodyToText);
            if (known)
                (*known)[i] = matches ? 1 : -1;
        }
        if (matches) {
            m_passedSelection = false;
            return {Outcome::Found, node->nodeId};
        }
    }
    return {Outcome::NotFound, -1};
}
