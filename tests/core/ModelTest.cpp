// The data model: records, time stamps, NotesMgr basics and recent files.
#include "core/MemorySettingsStore.h"
#include "core/NotesMgr.h"
#include "core/Texts.h"
#include "tests/core/TimestampSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

NoteTimestamp stamp(int y, int mo, int d, int h, int mi, int s = 0, int ms = 0, int dow = 0) {
    return MakeStamp(y, mo, d, h, mi, s, ms, dow);
}

} // namespace

TEST(NoteTimestamp, ComparesToTheMinuteOnly) {
    EXPECT_EQ(CompareTimestamps(stamp(2024, 5, 6, 7, 8, 1, 2, 3), stamp(2024, 5, 6, 7, 8, 59, 999, 6)), 0);
    EXPECT_EQ(CompareTimestamps(stamp(2024, 5, 6, 7, 8), stamp(2024, 5, 6, 7, 9)), -1);
    EXPECT_EQ(CompareTimestamps(stamp(2025, 1, 1, 0, 0), stamp(2024, 12, 31, 23, 59)), 1);
    // The month outranks the day, the day the hour.
    EXPECT_EQ(CompareTimestamps(stamp(2024, 2, 1, 0, 0), stamp(2024, 1, 31, 23, 59)), 1);
    EXPECT_EQ(CompareTimestamps(stamp(2024, 1, 2, 0, 0), stamp(2024, 1, 1, 23, 59)), 1);
}

TEST(NoteTimestamp, NowIsAPlausibleLocalTime) {
    const NoteTimestamp now = NoteTimestamp::now();
    EXPECT_GE(now.year, 2024);
    EXPECT_GE(now.month, 1);
    EXPECT_LE(now.month, 12);
    EXPECT_LE(now.dayOfWeek, 6);
    EXPECT_LE(now.millisecond, 999);
    EXPECT_FALSE(now.isZero());
    EXPECT_TRUE(NoteTimestamp{}.isZero());
}

TEST(NoteRecord, FreshNodeDefaults) {
    const NoteTimestamp before = NoteTimestamp::now();
    const NoteRecord r;
    const NoteTimestamp after = NoteTimestamp::now();
    EXPECT_EQ(r.iconIndex, -1);
    EXPECT_EQ(r.isFolder, 1);
    EXPECT_EQ(r.repeatKind, 2);
    EXPECT_EQ(r.repeatDays, 0x11111110);
    EXPECT_EQ(r.link, std::u16string(u"start with 'http://', 'file://' or 'mailto:'"));
    EXPECT_GE(CompareTimestamps(r.modifiedTime, before), 0);
    EXPECT_LE(CompareTimestamps(r.modifiedTime, after), 0);
    EXPECT_EQ(r.modifiedTime, r.reminderTime);
    EXPECT_TRUE(r.reminderAckTime.isZero());
    EXPECT_TRUE(r.attachmentTime.isZero());
    EXPECT_EQ(r.attachmentSize, 0);
    EXPECT_TRUE(r.attachmentData.empty());
}

TEST(NoteRecord, CopiesOwnTheirAttachment) {
    NoteRecord a;
    a.setAttachment({1, 2, 3});
    NoteRecord b = a;
    b.attachmentData[0] = 9;
    EXPECT_EQ(a.attachmentData[0], 1);
    EXPECT_EQ(b.attachmentSize, 3);

    NoteRecord empty;
    empty.setAttachment({});
    const NoteRecord copy = empty;
    EXPECT_EQ(copy.attachmentSize, 0);
    EXPECT_TRUE(copy.attachmentData.empty());
}

TEST(NoteRecord, CopyNoteContentKeepsIdentity) {
    NoteRecord to;
    to.nodeId = 4;
    to.parentId = 2;
    NoteRecord from;
    from.nodeId = 99;
    from.parentId = 98;
    from.title = u"card";
    from.fieldValues[6] = u"seven";
    from.setAttachment({5});
    CopyNoteContent(to, from);
    EXPECT_EQ(to.nodeId, 4);
    EXPECT_EQ(to.parentId, 2);
    EXPECT_EQ(to.title, u"card");
    EXPECT_EQ(to.fieldValues[6], u"seven");
    EXPECT_EQ(to.attachmentData, std::vector<uint8_t>{5});
}

// Equality tells a difference in every field, also one in the last
// character of a long text or of equal-length texts.
TEST(NoteRecord, EqualityTellsEveryField) {
    NoteRecord base(NoteTimestamp{});
    base.title = u"a title longer than the short buffer";
    base.body = std::u16string(3000, u'b');
    base.fieldValues = {u"1", u"2", u"3", u"4", u"5", u"6", u"7"};
    base.setAttachment({1, 2, 3});
    const std::vector<std::function<void(NoteRecord&)>> changes = {
        [](NoteRecord& n) { n.nodeId = 5; },
        [](NoteRecord& n) { n.parentId = 5; },
        [](NoteRecord& n) { n.iconIndex = 5; },
        [](NoteRecord& n) { n.isFolder = 0; },
        [](NoteRecord& n) { n.title.back() = u'X'; },
        [](NoteRecord& n) { n.body.back() = u'X'; },
        [](NoteRecord& n) { n.body.pop_back(); },
        [](NoteRecord& n) { n.link = u"x"; },
        [](NoteRecord& n) { n.modifiedTime.minute = 1; },
        [](NoteRecord& n) { n.reminderOn = 1; },
        [](NoteRecord& n) { n.reminderTime.second = 1; },
        [](NoteRecord& n) { n.reminderAckTime.year = 1; },
        [](NoteRecord& n) { n.repeatKind = RepeatDaily; },
        [](NoteRecord& n) { n.repeatDays = kMonday; },
        [](NoteRecord& n) { n.templateId = 3; },
        [](NoteRecord& n) { n.fieldValues[0] = u"x"; },
        [](NoteRecord& n) { n.fieldValues[6] = u"x"; },
        [](NoteRecord& n) { n.attachmentName = u"x"; },
        [](NoteRecord& n) { n.attachmentSize = 9; },
        [](NoteRecord& n) { n.attachmentTime.day = 1; },
        [](NoteRecord& n) { n.attachmentData.back() = 9; },
    };
    EXPECT_EQ(base, NoteRecord(base));
    for (size_t i = 0; i < changes.size(); ++i) {
        NoteRecord changed = base;
        changes[i](changed);
        EXPECT_NE(changed, base) << i;
        EXPECT_NE(base, changed) << i;
    }
}

TEST(NotesMgr, ResetKeepsPasswordAndRecentFiles) {
    NotesMgr mgr;
    mgr.password = u"secret";
    mgr.AddRecentFile(u"/a.nte");
    mgr.dbTitle = u"t";
    mgr.dbDescription = u"d";
    mgr.AddNode(-1, 0, 1, u"root", {}, {}, NoteTimestamp::now());
    mgr.AddTemplate();
    mgr.formatVersion = 3;
    mgr.SetModified();
    mgr.Reset();
    EXPECT_TRUE(mgr.nodes.empty());
    EXPECT_TRUE(mgr.templates.empty());
    EXPECT_TRUE(mgr.dbTitle.empty());
    EXPECT_TRUE(mgr.dbDescription.empty());
    EXPECT_EQ(mgr.formatVersion, 7);
    EXPECT_EQ(mgr.nextNodeId, 0);
    EXPECT_EQ(mgr.nextTemplateId, 0);
    EXPECT_EQ(mgr.checkWord, 777);
    EXPECT_FALSE(mgr.IsModified());
    EXPECT_EQ(mgr.password, u"secret");
    EXPECT_EQ(mgr.recentFiles.size(), 1u);
}

TEST(NotesMgr, NodeIdsAreNeverReused) {
    NotesMgr mgr;
    const NoteTimestamp now = NoteTimestamp::now();
    EXPECT_EQ(mgr.AddNode(-1, 0, 1, u"root", {}, {}, now), 0);
    EXPECT_EQ(mgr.AddNode(0, 3, 0, u"a", u"body", u"link", now), 1);
    const int32_t last = mgr.AddNode(0, 3, 0, u"b", {}, {}, now);
    mgr.EraseNode(last);
    EXPECT_EQ(mgr.FindNode(last), nullptr);
    EXPECT_EQ(mgr.AddNode(0, 3, 0, u"c", {}, {}, now), last + 1);
    const NoteRecord* a = mgr.FindNode(1);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->parentId, 0);
    EXPECT_EQ(a->iconIndex, 3);
    EXPECT_EQ(a->isFolder, 0);
    EXPECT_EQ(a->body, u"body");
    EXPECT_EQ(a->link, u"link");
    EXPECT_FALSE(mgr.IsModified()); // AddNode leaves the flag to its callers
}

TEST(NotesMgr, RandomValuesHaveTheRandRange) {
    NotesMgr mgr;
    int high = 0;
    for (int i = 0; i < 10000; ++i) {
        const int v = mgr.NextRandom();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 32767);
        high = std::max(high, v);
    }
    EXPECT_GT(high, 30000);
}

TEST(RecentFiles, MovedToFrontWithoutDuplicatesWhateverTheCase) {
    NotesMgr mgr;
    mgr.AddRecentFile(u"/home/u/A.nte");
    mgr.AddRecentFile(u"/home/u/b.nte");
    mgr.AddRecentFile(u"/HOME/U/a.NTE");
    ASSERT_EQ(mgr.recentFiles.size(), 2u);
    EXPECT_EQ(mgr.recentFiles[0], u"/HOME/U/a.NTE");
    EXPECT_EQ(mgr.recentFiles[1], u"/home/u/b.nte");
}

TEST(RecentFiles, RemovalDropsTheEntryWhateverTheCaseAndKeepsTheOrder) {
    NotesMgr mgr;
    mgr.recentFiles = {u"/a.nte", u"/gone.nte", u"/b.nte", u"/GONE.nte"};
    mgr.RemoveRecentFile(u"/Gone.nte");
    EXPECT_EQ(mgr.recentFiles, (std::vector<std::u16string>{u"/a.nte", u"/b.nte"}));
    mgr.RemoveRecentFile(u"/not-listed.nte");
    EXPECT_EQ(mgr.recentFiles.size(), 2u);
}

TEST(RecentFiles, SevenStoredAndReadAtTheNextStart) {
    MemorySettingsStore settings;
    {
        NotesMgr mgr(&settings);
        for (int i = 0; i < 9; ++i)
            mgr.AddRecentFile(u"/db" + std::u16string(1, static_cast<char16_t>(u'0' + i)) + u".nte");
        EXPECT_EQ(mgr.recentFiles.size(), 9u); // not cut in memory
    }
    NotesMgr next(&settings);
    ASSERT_EQ(next.recentFiles.size(), 7u);
    EXPECT_EQ(next.recentFiles.front(), u"/db8.nte");
    EXPECT_EQ(next.recentFiles.back(), u"/db2.nte");
}

TEST(RecentFiles, ShortListClearsStaleEntries) {
    MemorySettingsStore settings;
    for (int i = 0; i < 7; ++i)
        settings.writeString("RecentFiles", "File" + std::to_string(i), u"/stale.nte");
    {
        NotesMgr mgr(&settings);
        mgr.recentFiles = {u"/1.nte", u"/2.nte", u"/3.nte"};
    }
    EXPECT_EQ(settings.getString("RecentFiles", "File0"), u"/1.nte");
    EXPECT_EQ(settings.getString("RecentFiles", "File2"), u"/3.nte");
    for (int i = 3; i < 7; ++i) {
        auto v = settings.readString("RecentFiles", "File" + std::to_string(i));
        ASSERT_TRUE(v.has_value());
        EXPECT_TRUE(v->empty());
    }
}

TEST(RecentFiles, GapsAndMissingSectionAreSkipped) {
    MemorySettingsStore settings;
    EXPECT_TRUE(NotesMgr(&settings).recentFiles.empty());
    MemorySettingsStore gappy;
    gappy.writeString("RecentFiles", "File1", u"/x.nte");
    gappy.writeInt("RecentFiles", "File2", 5); // not a string: unreadable, skipped
    gappy.writeString("RecentFiles", "File4", u"/y.nte");
    NotesMgr mgr(&gappy);
    EXPECT_EQ(mgr.recentFiles, (std::vector<std::u16string>{u"/x.nte", u"/y.nte"}));
    mgr.recentFiles.clear(); // keep the destructor from mattering here
}

TEST(MemorySettingsStore, SectionsAndKinds) {
    MemorySettingsStore s;
    s.writeInt("Settings", "n", 5);
    s.writeBinary("Layout", "Main", {1, 2});
    s.writeString("Dictionary", "w", u"word");
    EXPECT_EQ(s.getInt("Settings", "n"), 5);
    EXPECT_EQ(s.getInt("Settings", "missing", 7), 7);
    EXPECT_FALSE(s.readString("Settings", "n").has_value()); // kinds don't mix
    EXPECT_EQ(*s.readBinary("Layout", "Main"), (std::vector<uint8_t>{1, 2}));
    s.removeSection("Dictionary");
    EXPECT_FALSE(s.hasSection("Dictionary"));
    EXPECT_EQ(s.getString("Dictionary", "w", u"none"), u"none");
}
