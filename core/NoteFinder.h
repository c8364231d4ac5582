#pragma once
// Find: one search step over the tree in display order (folders first, titles
// without case, collapsed folders included), from the selected node on. The
// find dialog and the command-line companion both step through here.
//
// The finder remembers one thing between steps, whether the walk has passed
// the selection. Matching starts at the node after the selection; after a
// match the flag is cleared, so the next step continues after the match;
// after a step that found nothing it stays set, so the next step starts over
// from the top of the tree (the root included).

#include "core/NotesMgr.h"
#include "core/TreeOrder.h"

#include <string>
#include <vector>

// Where to look, by the index of the dialog's "Find where:" list.
enum FindScope : int {
    FindInTitle = 0,
    FindInBody = 1,
    FindInTitleAndBody = 2,
};

struct FindOptions {
    std::u16string text; // trimmed by the step
    int scope = FindInTitleAndBody;
    bool matchCase = false;
    bool wholeWord = false;
};

class NoteFinder {
public:
    // A body as the plain text that is searched (an RTF body turned into its
    // visible text, a plain body as it is).
    using BodyToText = std::u16string (*)(const std::u16string& body);

    explicit NoteFinder(BodyToText bodyToText);

    enum class Outcome {
        Found,         // nodeId is the match; the caller selects it
        NotFound,      // nothing after the selection; the next step starts from the top
        NothingToFind, // the search text is empty or only white space; nothing changed
    };
    struct Result {
        Outcome outcome = Outcome::NothingToFind;
        int32_t nodeId = -1;
    };

    // One step from `selectedId` (-1 or a node no longer in the tree: the
    // walk starts at the top).
    Result Step(const NotesMgr& mgr, const FindOptions& options, int32_t selectedId);
    // The same over a display order taken by the caller: the tree window's
    // items as shown, or a listing of a database that has not changed since,
    // for callers that take many steps at once. Such
    // a caller may also keep `known`, the outcome of the test at each
    // position of `tree` (0 not tested yet, 1 match, -1 no match), so that
    // no node is tested twice while the options stay the same.
    using Known = std::vector<int8_t>;
    Result Step(const TreeListing& tree, const FindOptions& options, int32_t selectedId,
                Known* known = nullptr);

    // The dialog is shown again: the walk has not passed the selection yet.
    void Restart() { m_passedSelection = false; }
    bool passedSelection() const { return m_passedSelection; }

private:
    BodyToText m_bodyToText;
    bool m_passedSelection = false;
};
