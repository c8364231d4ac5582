// The tree order of ls and the nodes it cannot place.

#include "cli/TreeListing.h"
#include "cli/TreeCheck.h"
#include "core/TreeOps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

std::vector<int32_t> ids(const TreeListing& listing) {
    std::vector<int32_t> out;
    for (const auto& item : listing.shown)
        out.push_back(item.nodeId);
    return out;
}

TEST(CliTreeListing, ComparesTitlesWithoutCase) {
    EXPECT_EQ(CompareTitlesNoCase(u"Alpha", u"aLPHA"), 0);
    EXPECT_LT(CompareTitlesNoCase(u"alpha", u"Beta"), 0);
    EXPECT_GT(CompareTitlesNoCase(u"alphabet", u"ALPHA"), 0);
    // Beyond ASCII: Cyrillic and Latin-1 letters fold as well.
    EXPECT_EQ(CompareTitlesNoCase(u"\u0416\u0443\u043a", u"\u0436\u0423\u041a"), 0);
    EXPECT_EQ(CompareTitlesNoCase(u"\u00c9T\u00c9", u"\u00e9t\u00e9"), 0);
    // Lower-case folding puts '_' before letters.
    EXPECT_LT(CompareTitlesNoCase(u"_x", u"A"), 0);
}

TEST(CliTreeListing, DeepChainsAndLoopsAreHandled) {
    NotesMgr mgr(nullptr);
    NewDatabase(mgr);
    const auto now = NoteTimestamp::now();
    int32_t parent = 0;
    for (int i = 0; i < 100000; ++i)
        parent = mgr.AddNode(parent, 0, 1, u"f", u"", u"", now);
    const int32_t deepest = parent;
    const int32_t a = mgr.AddNode(0, 0, 1, u"a", u"", u"", now);
    const int32_t b = mgr.AddNode(a, 0, 1, u"b", u"", u"", now);
    mgr.FindNode(a)->parentId = b; // a and b now hang in a loop
    const int32_t orphan = mgr.AddNode(424242, 0, 0, u"o", u"", u"", now);

    const TreeListing listing = ListTree(mgr);
    ASSERT_EQ(listing.shown.size(), 100001u);
    EXPECT_EQ(listing.shown.back().nodeId, deepest);
    EXPECT_EQ(listing.shown.back().depth, 100000);
    EXPECT_EQ(listing.unreachable, (std::vector<int32_t>{a, b, orphan}));
    EXPECT_TRUE(FindTreeProblem(mgr));
}

TEST(CliTreeListing, NotesUnderANoteAreNotShownAsChildren) {
    NotesMgr mgr(nullptr);
    NewDatabase(mgr);
    const auto now = NoteTimestamp::now();
    const int32_t note = mgr.AddNode(0, 0, 0, u"n", u"", u"", now);
    const int32_t child = mgr.AddNode(note, 0, 0, u"c", u"", u"", now);
    const TreeListing listing = ListTree(mgr);
    EXPECT_EQ(ids(listing), (std::vector<int32_t>{0, note}));
    EXPECT_EQ(listing.unreachable, (std::vector<int32_t>{child}));
    EXPECT_EQ(*FindTreeProblem(mgr), "Node 2 has parent 1, which is not a folder.");
}

// The window's order over the node map and the companion's over the
// skeleton are two walks of one rule: they must list alike.
TEST(CliTreeListing, NodeMapAndSkeletonListAlike) {
    NotesMgr mgr(nullptr);
    NewDatabase(mgr);
    const auto now = NoteTimestamp::now();
    const int32_t f = mgr.AddNode(0, 0, 1, u"\u00c9t\u00e9", u"", u"", now);
    for (const char16_t* title : {u"beta", u"Alpha", u"_x", u"\u00e9T\u00c9", u"alpha", u"Zeta"}) {
        mgr.AddNode(0, 0, 0, title, u"", u"", now);
        mgr.AddNode(f, 0, 1, title, u"", u"", now);
        mgr.AddNode(f, 0, 0, title, u"", u"", now);
    }
    mgr.AddNode(4242, 0, 0, u"lost", u"", u"", now);
    const TreeListing fromMap = ListTree(mgr);
    const TreeListing fromSkeleton = ListTree(SkeletonOf(mgr));
    EXPECT_EQ(ids(fromMap), ids(fromSkeleton));
    for (size_t i = 0; i < fromMap.shown.size() && i < fromSkeleton.shown.size(); ++i)
        EXPECT_EQ(fromMap.shown[i].depth, fromSkeleton.shown[i].depth) << i;
    EXPECT_EQ(fromMap.unreachable, fromSkeleton.unreachable);
}

// Sorting a few ids must give the order of the whole listing, over trees
// with equal titles, a second root, notes under notes, loops and orphans.
TEST(CliTreeListing, SortedIdsFollowTheListing) {
    std::mt19937 random(7);
    const auto pick = [&](int high) { return std::uniform_int_distribution<int>(0, high)(random); };
    for (int round = 0; round < 300; ++round) {
        NotesMgr mgr(nullptr);
        NewDatabase(mgr);
        const int count = 1 + pick(30);
        for (int i = 0; i < count; ++i) {
            const int32_t parent = pick(9) == 0 ? pick(1) - 2 : pick(static_cast<int>(mgr.nodes.size()) + 1);
            mgr.AddNode(parent, 0, pick(2) > 0, std::u16string(1, u"aAbB"[pick(3)]), u"", u"", {});
        }
        if (pick(1))
            mgr.FindNode(1)->parentId = mgr.nextNodeId - 1; // perhaps a loop
        std::vector<int32_t> subset;
        for (int i = pick(10); i >= 0; --i)
            subset.push_back(pick(mgr.nextNodeId + 1));
        const TreeListing listing = ListTree(mgr);
        std::vector<int32_t> expected;
        for (int32_t id : ids(listing))
            if (std::count(subset.begin(), subset.end(), id))
                expected.push_back(id);
        for (int32_t id : listing.unreachable)
            if (std::count(subset.begin(), subset.end(), id))
                expected.push_back(id);
        ASSERT_EQ(SortInTreeOrder(mgr, subset), expected) << "round " << round;
    }
}

} // namespace
