// The search step in core: the shared table of cases step by step, the
// passed-selection flag across Find and Find Next, and the text test itself.

#include "core/FindPattern.h"
#include "core/NoteFinder.h"
#include "editor/rtf/PlainText.h"
#include "tests/support/FindCases.h"

#include <gtest/gtest.h>

namespace {

FindOptions OptionsOf(const FindCase& c) {
    FindOptions options;
    options.text = c.text;
    options.scope = c.scope;
    options.matchCase = c.matchCase;
    options.wholeWord = c.wholeWord;
    return options;
}

std::u16string TitleOf(const NotesMgr& mgr, const NoteFinder::Result& r) {
    if (r.outcome != NoteFinder::Outcome::Found)
        return kMiss;
    return mgr.FindNode(r.nodeId)->title;
}

class FindStepCases : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindStepCases, StepsSelectTheExpectedNodes) {
    const FindCase& c = GetParam();
    NotesMgr mgr(nullptr);
    FillFindSample(mgr);
    NoteFinder finder(&rtf::BodyToPlainText);
    // Find: the database item selected, the flag cleared.
    int32_t selected = 0;
    finder.Restart();
    for (size_t i = 0; i < c.steps.size(); ++i) {
        const NoteFinder::Result r = finder.Step(mgr, OptionsOf(c), selected);
        EXPECT_EQ(TitleOf(mgr, r), c.steps[i]) << "step " << i;
        // A miss leaves the selection where it was.
        if (r.outcome == NoteFinder::Outcome::Found)
            selected = r.nodeId;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, FindStepCases, ::testing::ValuesIn(FindCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FindStep, BlankTextChangesNothing) {
    NotesMgr mgr(nullptr);
    FillFindSample(mgr);
    NoteFinder finder(&rtf::BodyToPlainText);
    FindOptions options;
    options.text = u"zebra";
    ASSERT_EQ(finder.Step(mgr, options, 0).outcome, NoteFinder::Outcome::Found);
    options.text = u"quagga";
    ASSERT_EQ(finder.Step(mgr, options, 0).outcome, NoteFinder::Outcome::NotFound);
    ASSERT_TRUE(finder.passedSelection());
    for (const std::u16string blank : {u"", u"  \t ", u"\u3000", u"\u00AD"}) {
        options.text = blank;
        EXPECT_EQ(finder.Step(mgr, options, 0).outcome, NoteFinder::Outcome::NothingToFind);
        EXPECT_TRUE(finder.passedSelection());
    }
}

TEST(FindStep, WithoutASelectionInTheTreeTheWalkStartsAtTheTop) {
    NotesMgr mgr(nullptr);
    const FindSample ids = FillFindSample(mgr);
    FindOptions options;
    options.text = u"treasure";
    for (const int32_t gone : {-1, 4242}) {
        NoteFinder finder(&rtf::BodyToPlainText);
        const auto r = finder.Step(mgr, options, gone);
        EXPECT_EQ(r.outcome, NoteFinder::Outcome::Found);
        EXPECT_EQ(r.nodeId, ids.deepSecret);
    }
    // A node deleted after its match was selected: the next step starts at the top.
    NoteFinder finder(&rtf::BodyToPlainText);
    ASSERT_EQ(finder.Step(mgr, options, 0).nodeId, ids.deepSecret);
    DeleteSubtree(mgr, ids.archive);
    options.text = u"zebra";
    EXPECT_EQ(finder.Step(mgr, options, ids.deepSecret).nodeId, ids.bodyOnly);
}

TEST(FindStep, UnknownScopeNeverMatchesAndNotesUnderNotesAreNotWalked) {
    NotesMgr mgr(nullptr);
    const FindSample ids = FillFindSample(mgr);
    FindOptions options;
    options.text = u"zebra";
    options.scope = 3;
    NoteFinder finder(&rtf::BodyToPlainText);
    EXPECT_EQ(finder.Step(mgr, options, 0).outcome, NoteFinder::Outcome::NotFound);
    // A note hung under a note is not in the tree, so it is not found.
    options.scope = FindInTitle;
    options.text = u"stowaway";
    mgr.AddNode(ids.bodyOnly, 16, 0, u"stowaway", {}, {}, NoteTimestamp::now());
    NoteFinder fresh(&rtf::BodyToPlainText);
    EXPECT_EQ(fresh.Step(mgr, options, 0).outcome, NoteFinder::Outcome::NotFound);
    EXPECT_EQ(fresh.Step(mgr, options, 0).outcome, NoteFinder::Outcome::NotFound);
    // A tree item whose node is gone never matches; the walk goes on past it.
    TreeListing shown = ListTree(mgr);
    options.text = u"zebra";
    options.scope = FindInTitleAndBody;
    for (ListedNode& item : shown.shown)
        if (item.nodeId == ids.bodyOnly)
            item.record = nullptr;
    shown.shown.push_back({ids.bodyOnly, 2, 0, mgr.FindNode(ids.bodyOnly)});
    NoteFinder walker(&rtf::BodyToPlainText);
    const auto r = walker.Step(shown, options, 0);
    EXPECT_EQ(r.outcome, NoteFinder::Outcome::Found);
    EXPECT_EQ(r.nodeId, ids.bodyOnly);
}

TEST(FindStep, KnownOutcomesGiveTheSameStepsAsFreshTests) {
    NotesMgr mgr(nullptr);
    FillFindSample(mgr);
    const TreeListing tree = ListTree(mgr);
    for (const FindCase& c : FindCases()) {
        NoteFinder plain(&rtf::BodyToPlainText), remembering(&rtf::BodyToPlainText);
        NoteFinder::Known known;
        int32_t a = 0, b = 0;
        for (size_t i = 0; i < c.steps.size() + 2; ++i) {
            const auto ra = plain.Step(tree, OptionsOf(c), a);
            const auto rb = remembering.Step(tree, OptionsOf(c), b, &known);
            ASSERT_EQ(ra.outcome, rb.outcome) << c.name << " step " << i;
            ASSERT_EQ(ra.nodeId, rb.nodeId) << c.name << " step " << i;
            if (ra.outcome == NoteFinder::Outcome::Found)
                a = b = ra.nodeId;
        }
    }
}

struct TextCase {
    const char16_t* text;
    const char16_t* pattern;
    bool matchCase;
    bool wholeWord;
    bool matches;
};

TEST(FindText, TheTextTest) {
    const TextCase cases[] = {
        // Case folding beyond ASCII.
        {u"\u00e9t\u00e9 \u0416\u0423\u041a", u"\u00c9T\u00c9", false, false, true},
        {u"\u0436\u0443\u043a", u"\u0416\u0423\u041a", false, false, true},
        {u"\u0436\u0443\u043a", u"\u0416\u0423\u041a", true, false, false},
        // Word ends: ASCII punctuation, wide spaces and punctuation, text ends.
        {u"note", u"note", false, true, true},
        {u"(note)", u"note", false, true, true},
        {u"\u00abnote\u00bb", u"note", false, true, true},
        {u"a\u3000note\u3000b", u"note", false, true, true},
        {u"notes", u"note", false, true, false},
        {u"denote", u"note", false, true, false},
        {u"note\u00e9", u"note", false, true, false},
        // A character outside the BMP is classed as one character, not by its halves.
        {u"note\U0001F600", u"note", false, true, true},
        {u"note\U00020000", u"note", false, true, false},
        // A rejected occurrence does not hide a whole word overlapping it.
        {u"ba.a.a", u"a.a", false, true, true},
        {u"notes note", u"note", false, true, true},
        // Soft hyphens vanish; a soft line break joins the letters around it
        // and still separates words.
        {u"note\u00adbook", u"notebook", false, true, true},
        {u"note\u00adbook", u"note", false, true, false},
        {u"Seal\vbook", u"sealbook", false, true, true},
        {u"Seal\u2028book", u"Seal", true, true, true},
        {u"Seal.\vbook", u"Seal.book", false, false, false},
        {u"short", u"shorter", false, false, false},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const FindPattern pattern(cases[i].pattern, cases[i].matchCase, cases[i].wholeWord);
        EXPECT_EQ(pattern.Matches(cases[i].text), cases[i].matches) << "case " << i;
    }
    EXPECT_EQ(TrimFindText(u" \t zebra crossing \r\n"), u"zebra crossing");
    EXPECT_EQ(TrimFindText(u"\u3000\u3000"), u"");
}

} // namespace
