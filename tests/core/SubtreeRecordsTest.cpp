// Taking a subtree out and putting it back, moves and deep copies, and the
// before/after pair of an edited note.
#include "core/SubtreeRecords.h"
#include "SmallTreeFixture.h"
#include "core/TreeOps.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

class SubtreeRecordsTest : public SmallTreeFixture {
protected:
    void SetUp() override {
        SmallTreeFixture::SetUp();
        NoteRecord& rich = *mgr.FindNode(deep);
        rich.body = u"deep body";
        rich.templateId = 1;
        rich.fieldValues[3] = u"1234";
        rich.attachmentName = u"scan.png";
        rich.setAttachment({1, 2, 3});
        mgr.SetModified(false);
    }
};

} // namespace

TEST_F(SubtreeRecordsTest, ATakenSubtreeComesBackAsItWas) {
    const std::map<int32_t, NoteRecord> before = mgr.nodes;
    const int32_t next = mgr.nextNodeId;
    SubtreeRecords taken = TakeSubtree(mgr, folder);
    EXPECT_EQ(taken.rootId(), folder);
    EXPECT_EQ(taken.ids(), (std::vector<int32_t>{folder, sub, note, deep}));
    EXPECT_EQ(mgr.nodes.size(), 2u);
    EXPECT_TRUE(mgr.IsModified());
    ASSERT_TRUE(RestoreSubtree(mgr, taken));
    EXPECT_EQ(mgr.nodes, before);
    EXPECT_EQ(mgr.nextNodeId, next);
    EXPECT_TRUE(taken.empty());
    // The root and unknown ids give nothing to take.
    EXPECT_TRUE(TakeSubtree(mgr, 0).empty());
    EXPECT_TRUE(TakeSubtree(mgr, 999).empty());
}

TEST_F(SubtreeRecordsTest, ARestoreThatCannotFitChangesNothing) {
    struct Case {
        const char* name;
        std::function<void(SubtreeRecords&)> spoil;
    };
    const Case cases[] = {
        {"parent gone", [&](SubtreeRecords&) { TakeSubtree(mgr, sub); }},
        {"parent now a note", [&](SubtreeRecords&) { mgr.FindNode(sub)->isFolder = 0; }},
        {"id in use again", [&](SubtreeRecords& t) { mgr.nodes[t.records.back().nodeId] = NoteRecord(); }},
        {"nothing taken", [&](SubtreeRecords& t) { t.records.clear(); }},
    };
    for (const Case& c : cases) {
        SetUp();
        SubtreeRecords taken = TakeSubtree(mgr, deep);
        c.spoil(taken);
        const std::map<int32_t, NoteRecord> spoilt = mgr.nodes;
        EXPECT_FALSE(RestoreSubtree(mgr, taken)) << c.name;
        EXPECT_EQ(mgr.nodes, spoilt) << c.name;
    }
}

TEST_F(SubtreeRecordsTest, DropTargets) {
    struct Case {
        int32_t node, target;
        bool move, allowed;
    };
    const Case cases[] = {
        {note, other, true, true},     {folder, other, true, true},    {folder, 0, false, true},
        {note, folder, true, false},   {note, folder, false, true}, // own folder: a copy only
        {folder, folder, true, false}, {folder, folder, false, false}, {folder, sub, true, false},
        {folder, sub, false, false},   {sub, folder, false, true},     {note, note, true, false},
        {sub, note, true, false},      {0, other, true, false},        {999, other, true, false},
        {note, 999, true, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CanDropInto(mgr, c.node, c.target, c.move), c.allowed)
            << c.node << " into " << c.target << (c.move ? " move" : " copy");
    // Parents in a loop (a damaged file) end the walk.
    mgr.FindNode(other)->parentId = sub;
    mgr.FindNode(folder)->parentId = other;
    EXPECT_FALSE(CanDropInto(mgr, note, sub, true));
}

TEST_F(SubtreeRecordsTest, AMoveTakesEverythingBelowAndMovesBack) {
    EXPECT_EQ(MoveNode(mgr, sub, other), folder);
    EXPECT_EQ(mgr.FindNode(sub)->parentId, other);
    EXPECT_EQ(mgr.FindNode(deep)->parentId, sub);
    EXPECT_EQ(CollectSubtree(mgr, other), (std::vector<int32_t>{other, deep, sub}));
    EXPECT_TRUE(mgr.IsModified());
    EXPECT_EQ(MoveNode(mgr, sub, folder), other);
    EXPECT_EQ(MoveNode(mgr, folder, deep), -1);
    EXPECT_EQ(mgr.FindNode(folder)->parentId, 0);
}

TEST_F(SubtreeRecordsTest, ACopyHasEveryFieldUnderFreshIds) {
    const std::map<int32_t, NoteRecord> before = mgr.nodes;
    const int32_t next = mgr.nextNodeId;
    const int32_t copy = CopySubtree(mgr, folder, other);
    ASSERT_EQ(copy, next);
    EXPECT_EQ(mgr.nodes.size(), before.size() + 4);
    EXPECT_EQ(mgr.nextNodeId, next + 4);
    // The originals are untouched; each copy matches its original but for ids.
    for (const auto& [id, record] : before)
        EXPECT_EQ(mgr.nodes.at(id), record);
    const std::vector<int32_t> copies = CollectSubtree(mgr, copy);
    ASSERT_EQ(copies.size(), 4u);
    const int32_t originals[] = {folder, sub, note, deep};
    for (int i = 0; i < 4; ++i) {
        NoteRecord expected = before.at(originals[i]);
        const NoteRecord& got = mgr.nodes.at(next + i);
        expected.nodeId = got.nodeId;
        expected.parentId = got.parentId;
        EXPECT_EQ(got, expected) << i;
    }
    EXPECT_EQ(mgr.FindNode(copy)->parentId, other);
    EXPECT_EQ(mgr.FindNode(next + 3)->parentId, next + 1); // deep's copy under sub's copy
    // A note copies into its own folder; nothing copies into itself.
    EXPECT_GE(CopySubtree(mgr, note, folder), 0);
    EXPECT_EQ(CopySubtree(mgr, folder, deep), -1);
}

TEST_F(SubtreeRecordsTest, CountsBelowAFolder) {
    CopySubtree(mgr, note, sub);
    const SubtreeCounts counts = CountBelow(mgr, folder);
    EXPECT_EQ(counts.notes, 3);
    EXPECT_EQ(counts.folders, 1);
    EXPECT_EQ(CountBelow(mgr, other).notes + CountBelow(mgr, other).folders, 0);
}

TEST_F(SubtreeRecordsTest, AnEditGoesBothWays) {
    struct Case {
        const char* name;
        std::function<void(NoteRecord&)> change;
    };
    const Case cases[] = {
        {"title only", [](NoteRecord& r) { r.title = u"Renamed"; }},
        {"body", [](NoteRecord& r) { r.body = u"new body"; }},
        {"attachment", [](NoteRecord& r) { r.setAttachment({9}); }},
        {"fields",
         [](NoteRecord& r) {
             r.fieldValues[0] = u"x";
             r.templateId = 2;
         }},
    };
    for (const Case& c : cases) {
        SetUp();
        const NoteRecord before = *mgr.FindNode(deep);
        NoteRecord after = before;
        c.change(after);
        *mgr.FindNode(deep) = after; // the edit is made, then kept
        NoteEdit edit(before, after);
        // Redo right after the edit, then undo and redo twice over.
        for (const bool forward : {true, false, true, false, true}) {
            ASSERT_TRUE(edit.Apply(mgr, forward)) << c.name;
            EXPECT_EQ(*mgr.FindNode(deep), forward ? after : before) << c.name << forward;
        }
        EXPECT_TRUE(mgr.IsModified());
    }
    // A reminder acknowledged after the edit stays acknowledged when it is undone.
    SetUp();
    NoteRecord before = *mgr.FindNode(note);
    NoteRecord after = before;
    after.title = u"Later";
    *mgr.FindNode(note) = after;
    NoteEdit edit(before, after);
    mgr.FindNode(note)->reminderAckTime.year = 2030;
    edit.Apply(mgr, false);
    EXPECT_EQ(mgr.FindNode(note)->title, u"Visa");
    EXPECT_EQ(mgr.FindNode(note)->reminderAckTime.year, 2030);
    TakeSubtree(mgr, note);
    EXPECT_FALSE(edit.Apply(mgr, true));
}
