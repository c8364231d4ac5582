#pragma once
// One database and one table of find cases, run through the search step in
// core, through the companion and through the find dialog of both editions,
// so that the three cannot drift apart.
//
// Tree, in display order (folders first, titles without case):
//   Untitled
//     Archive/              (collapsed in the tree view)
//       Deep secret         body: "buried treasure"
//     Work/
//       abc
//       Body only           body: "zebra crossing"
//       my note
//       note-book
//       notes
//       Soft                body: pass<soft hyphen>word, Seal<line break>book
//       Untitled copy

#include "core/NoteFinder.h"
#include "core/NotesMgr.h"
#include "core/TreeOps.h"

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

struct FindSample {
    int32_t archive = -1;
    int32_t deepSecret = -1;
    int32_t work = -1;
    int32_t bodyOnly = -1;
};

inline FindSample FillFindSample(NotesMgr& mgr) {
    NewDatabase(mgr);
    const NoteTimestamp now = NoteTimestamp::now();
    FindSample ids;
    // Created out of display order, so that the walk's order is not the ids'.
    ids.work = mgr.AddNode(0, 1, 1, u"Work", {}, {}, now);
    mgr.AddNode(ids.work, 16, 0, u"Untitled copy", {}, {}, now);
    mgr.AddNode(ids.work, 16, 0, u"notes", {}, {}, now);
    mgr.AddNode(ids.work, 16, 0, u"note-book", {}, {}, now);
    mgr.AddNode(ids.work, 16, 0, u"my note", {}, {}, now);
    ids.bodyOnly =
        mgr.AddNode(ids.work, 16, 0, u"Body only",
                    u"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Tahoma;}}\\f0\\fs20 zebra crossing\\par}", {}, now);
    mgr.AddNode(ids.work, 16, 0, u"abc", u"plain body without the animal", {}, now);
    mgr.AddNode(
        ids.work, 16, 0, u"Soft",
        u"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Tahoma;}}\\f0\\fs20 the pass\\-word is Seal\\line book\\par}",
        {}, now);
    ids.archive = mgr.AddNode(0, 1, 1, u"Archive", {}, {}, now);
    ids.deepSecret =
        mgr.AddNode(ids.archive, 16, 0, u"Deep secret", u"{\\rtf1\\ansi{\\b buried} treasure\\par}", {}, now);
    mgr.SetModified(false);
    return ids;
}

// What one step selects, by title; kMiss: "The specified text was not found."
inline const std::u16string kMiss;

struct FindCase {
    const char* name;
    std::u16string text;
    int scope;
    bool matchCase;
    bool wholeWord;
    // The steps from Find on (the database item selected): what each selects.
    std::vector<std::u16string> steps;

    // Every match once, in the order the steps reach them (the companion's output).
    std::vector<std::u16string> matches() const {
        std::vector<std::u16string> out;
        for (const auto& title : steps) {
            if (title != kMiss && std::find(out.begin(), out.end(), title) == out.end())
                out.push_back(title);
        }
        return out;
    }
};

// Test names print the case's name, not its bytes.
inline void PrintTo(const FindCase& c, std::ostream* os) {
    *os << c.name;
}

inline const std::vector<FindCase>& FindCases() {
    static const std::vector<FindCase> cases = {
        {"TitleOnlyMissesBodies", u"zebra", FindInTitle, false, false, {kMiss, kMiss}},
        {"BodyScopeFindsBodies", u"zebra", FindInBody, false, false, {u"Body only", kMiss, u"Body only"}},
        {"BothScopesFindBodies", u"zebra", FindInTitleAndBody, false, false, {u"Body only", kMiss}},
        {"WholeWordNote", u"note", FindInTitle, false, true, {u"my note", u"note-book", kMiss, u"my note"}},
        {"AnyNote", u"note", FindInTitle, false, false, {u"my note", u"note-book", u"notes", kMiss}},
        {"WithoutCase", u"ABC", FindInTitle, false, false, {u"abc", kMiss, u"abc"}},
        {"WithCase", u"ABC", FindInTitle, true, false, {kMiss, kMiss}},
        {"InsideCollapsedFolder", u"treasure", FindInTitleAndBody, false, false, {u"Deep secret", kMiss}},
        {"SurroundingBlanks", u"  zebra \t", FindInTitleAndBody, false, false, {u"Body only", kMiss}},
        {"SoftHyphenInsideWord", u"password", FindInBody, false, true, {u"Soft", kMiss}},
        {"SoftHyphenPartIsNoWord", u"pass", FindInBody, false, true, {kMiss}},
        {"SoftLineBreakInsideWord", u"Sealbook", FindInBody, false, true, {u"Soft", kMiss}},
        {"SoftLineBreakStillBreaks", u"book", FindInBody, false, true, {u"Soft", kMiss}},
        // Find selects the database item, so it is tested only after the wrap.
        {"RootComesAfterTheWrap",
         u"untitled",
         FindInTitle,
         false,
         false,
         {u"Untitled copy", kMiss, u"Untitled", u"Untitled copy"}},
    };
    return cases;
}
