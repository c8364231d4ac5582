// The data effects of the tree commands: create, edit, delete, copy, cut, paste.
#include "core/TreeOps.h"
#include "SmallTreeFixture.h"

#include <gtest/gtest.h>

namespace {

class TreeOpsTest : public SmallTreeFixture {
protected:
    NoteRecord richNote() {
        NoteRecord r = MakeNewNodeRecord(false, u"{\\rtf1 welcome}");
        r.title = u"Mastercard";
        r.iconIndex = 4;
        r.reminderOn = 1;
        r.repeatKind = RepeatMonthly;
        r.repeatDays = kMonday | kFriday;
        r.reminderAckTime.year = 2020;
        r.templateId = 1;
        for (int i = 0; i < 7; ++i)
            r.fieldValues[static_cast<size_t>(i)] = u"v" + std::u16string(1, static_cast<char16_t>(u'0' + i));
        r.attachmentName = u"scan.png";
        r.attachmentTime.year = 2019;
        r.setAttachment({0, 1, 2, 255});
        return r;
    }
};

} // namespace

TEST_F(TreeOpsTest, NewRecordsCarryTitleAndWelcomeBody) {
    const NoteRecord f = MakeNewNodeRecord(true, u"welcome");
    EXPECT_EQ(f.title, u"New Folder");
    EXPECT_EQ(f.isFolder, 1);
    EXPECT_TRUE(f.body.empty());
    const NoteRecord n = MakeNewNodeRecord(false, u"welcome");
    EXPECT_EQ(n.title, u"New Note");
    EXPECT_EQ(n.isFolder, 0);
    EXPECT_EQ(n.body, u"welcome");
}

TEST_F(TreeOpsTest, NewNoteOnANoteBecomesItsSibling) {
    const int32_t id = CreateNodeFromRecord(mgr, note, richNote());
    ASSERT_GE(id, 0);
    EXPECT_EQ(mgr.FindNode(id)->parentId, folder);
    EXPECT_EQ(CreateNodeFromRecord(mgr, 0, MakeNewNodeRecord(true, {})), id + 1);
    EXPECT_EQ(mgr.FindNode(id + 1)->parentId, 0);
    EXPECT_TRUE(mgr.IsModified());
}

TEST_F(TreeOpsTest, CreatedNodeKeepsEveryEditedField) {
    const NoteRecord edited = richNote();
    const int32_t id = CreateNodeFromRecord(mgr, folder, edited);
    NoteRecord expected = edited;
    expected.nodeId = id;
    expected.parentId = folder;
    EXPECT_EQ(*mgr.FindNode(id), expected);
}

TEST_F(TreeOpsTest, NothingIsCreatedUnderANodeThatIsGone) {
    const size_t before = mgr.nodes.size();
    EXPECT_EQ(CreateNodeFromRecord(mgr, 12345, richNote()), -1);
    EXPECT_EQ(mgr.nodes.size(), before);
    EXPECT_FALSE(mgr.IsModified());
}

TEST_F(TreeOpsTest, WithNothingSelectedTheNewNodeGoesUnderTheRoot) {
    const int32_t id = CreateNodeFromRecord(mgr, -1, richNote());
    ASSERT_GE(id, 0);
    EXPECT_EQ(mgr.FindNode(id)->parentId, 0);
    EXPECT_TRUE(mgr.IsModified());
}

TEST_F(TreeOpsTest, EditingOnlyTheTitleKeepsTheAcknowledgement) {
    NoteRecord* stored = mgr.FindNode(note);
    stored->reminderAckTime.year = 2024;
    NoteRecord copy = *stored;
    copy.title = u"Visa Gold";
    copy.reminderTime.second = 42; // seconds don't count
    ASSERT_TRUE(ApplyEditedNode(mgr, copy));
    EXPECT_EQ(mgr.FindNode(note)->title, u"Visa Gold");
    EXPECT_EQ(mgr.FindNode(note)->reminderAckTime.year, 2024);
    EXPECT_TRUE(mgr.IsModified());
}

TEST_F(TreeOpsTest, ChangingTheReminderClearsTheAcknowledgement) {
    auto check = [&](auto change) {
        NoteRecord* stored = mgr.FindNode(note);
        stored->reminderAckTime.year = 2024;
        NoteRecord copy = *stored;
        change(copy);
        ASSERT_TRUE(ApplyEditedNode(mgr, copy));
        EXPECT_TRUE(mgr.FindNode(note)->reminderAckTime.isZero());
    };
    check([](NoteRecord& r) {
        r.reminderTime.minute = static_cast<uint16_t>((r.reminderTime.minute + 1) % 60);
    });
    check([](NoteRecord& r) { r.repeatKind = RepeatYearly; });
    check([](NoteRecord& r) { r.repeatDays = kSunday; });
}

TEST_F(TreeOpsTest, EditKeepsIdAndParent) {
    NoteRecord copy = *mgr.FindNode(note);
    copy.parentId = other; // the sheet cannot move a node
    ASSERT_TRUE(ApplyEditedNode(mgr, copy));
    EXPECT_EQ(mgr.FindNode(note)->parentId, folder);
    copy.nodeId = 999;
    EXPECT_FALSE(ApplyEditedNode(mgr, copy));
}

TEST_F(TreeOpsTest, DeleteOrderPutsChildFoldersAfterTheirOwnSubtrees) {
    // Ascending-id walk: sub (a folder) is visited before note, so its subtree
    // (deep) comes first, then sub itself, then note.
    EXPECT_EQ(CollectSubtree(mgr, folder), (std::vector<int32_t>{folder, deep, sub, note}));
    EXPECT_EQ(CollectSubtree(mgr, note), (std::vector<int32_t>{note}));
}

TEST_F(TreeOpsTest, DeleteRemovesEveryDescendantAndIdsStayUsed) {
    const int32_t next = mgr.nextNodeId;
    const auto erased = DeleteSubtree(mgr, folder);
    EXPECT_EQ(erased.size(), 4u);
    for (int32_t id : {folder, sub, note, deep})
        EXPECT_EQ(mgr.FindNode(id), nullptr);
    EXPECT_NE(mgr.FindNode(other), nullptr);
    EXPECT_TRUE(mgr.IsModified());
    EXPECT_EQ(mgr.AddNode(0, 1, 1, u"x", {}, {}, NoteTimestamp::now()), next);
}

TEST_F(TreeOpsTest, TheRootCannotBeDeleted) {
    EXPECT_FALSE(CanDelete(mgr, 0));
    EXPECT_TRUE(DeleteSubtree(mgr, 0).empty());
    EXPECT_EQ(mgr.nodes.size(), 6u);
    EXPECT_FALSE(mgr.IsModified());
}

TEST_F(TreeOpsTest, DamagedCycleDoesNotHangTheDelete) {
    // Two folders naming each other as parent (only a damaged file does this).
    mgr.FindNode(sub)->parentId = deep;
    mgr.FindNode(deep)->isFolder = 1;
    mgr.FindNode(deep)->parentId = sub;
    const auto ids = CollectSubtree(mgr, sub);
    EXPECT_EQ(ids.size(), 2u);
}

TEST_F(TreeOpsTest, VeryDeepNestingIsCollectedWithoutRecursion) {
    int32_t parent = other;
    for (int i = 0; i < 200000; ++i)
        parent = mgr.AddNode(parent, 1, 1, u"f", {}, {}, NoteTimestamp{});
    EXPECT_EQ(CollectSubtree(mgr, other).size(), 200001u);
}

TEST_F(TreeOpsTest, CommandStates) {
    NoteClipboard empty;
    NoteClipboard full = NoteRecord();
    EXPECT_TRUE(CanCopyOrCut(mgr, note));
    EXPECT_FALSE(CanCopyOrCut(mgr, folder));
    EXPECT_FALSE(CanCopyOrCut(mgr, -1));
    EXPECT_TRUE(CanPaste(mgr, folder, full));
    EXPECT_TRUE(CanPaste(mgr, 0, full));
    EXPECT_FALSE(CanPaste(mgr, folder, empty));
    EXPECT_FALSE(CanPaste(mgr, note, full));
}

TEST_F(TreeOpsTest, CopyOfAFolderAndPasteOnANoteDoNothing) {
    NoteClipboard clip;
    EXPECT_FALSE(CopyNote(mgr, folder, clip));
    EXPECT_FALSE(clip.has_value());
    clip = *mgr.FindNode(note);
    const size_t before = mgr.nodes.size();
    EXPECT_EQ(PasteNote(mgr, note, clip), -1);
    EXPECT_EQ(mgr.nodes.size(), before);
    EXPECT_FALSE(mgr.IsModified());
}

TEST_F(TreeOpsTest, CutAndPasteMovesANoteWithoutLoss) {
    const int32_t id = CreateNodeFromRecord(mgr, folder, richNote());
    const NoteRecord original = *mgr.FindNode(id);
    mgr.SetModified(false);
    NoteClipboard clip;
    ASSERT_TRUE(CutNote(mgr, id, clip));
    EXPECT_EQ(mgr.FindNode(id), nullptr);
    EXPECT_TRUE(mgr.IsModified());
    const int32_t pasted = PasteNote(mgr, other, clip);
    ASSERT_GT(pasted, id);
    NoteRecord expected = original;
    expected.nodeId = pasted;
    expected.parentId = other;
    EXPECT_EQ(*mgr.FindNode(pasted), expected);
    // The clipboard keeps its content: a second paste makes another copy.
    const int32_t again = PasteNote(mgr, other, clip);
    EXPECT_EQ(again, pasted + 1);
    EXPECT_EQ(mgr.FindNode(again)->attachmentData, original.attachmentData);
}

TEST_F(TreeOpsTest, CopyLeavesTheDatabaseUnchanged) {
    NoteClipboard clip;
    ASSERT_TRUE(CopyNote(mgr, note, clip));
    EXPECT_FALSE(mgr.IsModified());
    EXPECT_EQ(clip->title, u"Visa");
    mgr.FindNode(note)->title = u"changed";
    EXPECT_EQ(clip->title, u"Visa"); // a copy, not a reference
}

TEST_F(TreeOpsTest, TemplateUserIsTheFirstNoteByIdIgnoringFolders) {
    mgr.FindNode(sub)->templateId = 5;  // a folder: does not count
    mgr.FindNode(deep)->templateId = 5; // id higher than note
    EXPECT_EQ(FindTemplateUser(mgr, 5)->nodeId, deep);
    mgr.FindNode(note)->templateId = 5;
    EXPECT_EQ(FindTemplateUser(mgr, 5)->nodeId, note);
    EXPECT_EQ(FindTemplateUser(mgr, 6), nullptr);
    mgr.FindNode(note)->templateId = 0;
    mgr.FindNode(deep)->templateId = 0;
    EXPECT_EQ(FindTemplateUser(mgr, 5), nullptr); // only a folder uses it: deletable
}
