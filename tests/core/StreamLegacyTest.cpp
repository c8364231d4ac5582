// Streams of the older versions 1 to 6: each node layout, the defaults of the
// fields a version lacks, legacy time values, and the upgrade to version 7.
#include "StreamTestSupport.h"

#include "core/NotesMgr.h"
#include "core/StreamReader.h"
#include "core/StreamWriter.h"
#include "core/Texts.h"

#include <gtest/gtest.h>

#include <ctime>

using namespace streamtest;

namespace {

constexpr uint32_t kWideTime = 0x8000000A;

// Builds a stream of an older version by hand.
class OldStream {
public:
    OldStream(int32_t version, int32_t nextNodeId, int32_t nodeCount) {
        w.writeWord(0x4321);
        w.writeWord(777);
        w.writeInt32(version);
        w.writeInt32(nextNodeId);
        w.writeString(u"Old title");
        ansi("Old \x80 description");
        w.writeInt32(nodeCount);
    }
    // A string in the 8-bit form with a one-byte count.
    void ansi(const std::string& text) {
        w.writeByte(static_cast<uint8_t>(text.size()));
        w.writeBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    }
    void legacyTime(int64_t seconds, bool wide = false) {
        if (wide) {
            w.writeInt32(static_cast<int32_t>(kWideTime));
            w.writeInt64(seconds);
        } else {
            w.writeInt32(static_cast<int32_t>(seconds));
        }
    }
    void reminder(bool legacy, int64_t at, int64_t ack) {
        w.writeInt32(1);
        if (legacy) {
            legacyTime(at);
            legacyTime(ack, true);
        } else {
            w.writeTimestamp(stamp(2005, 6, 3, 15, 9, 30));
            w.writeTimestamp(stamp(2005, 6, 3, 15, 9, 31));
        }
        w.writeInt32(RepeatYearly);
        w.writeInt32(kSunday);
    }
    const std::vector<uint8_t>& finish() {
        const uint8_t trailer[16] = {};
        w.writeBytes(trailer, sizeof trailer);
        return w.bytes();
    }
    StreamWriter w;
};

NoteTimestamp localStamp(int64_t seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    localtime_r(&t, &local);
    return NoteTimestamp::fromTm(local);
}

void load(NotesMgr& db, const std::vector<uint8_t>& bytes) {
    StreamReader r(bytes);
    db.Serialize(r);
}

// The catalogue of a fresh database, for comparison.
std::vector<TemplateRecord> catalogue() {
    NotesMgr db;
    db.InstallDefaultTemplates();
    return db.templates;
}

// Stream version 7 again, read back.
void expectUpgraded(NotesMgr& db) {
    EXPECT_EQ(db.formatVersion, 7);
    StreamWriter w;
    db.Serialize(w);
    StreamReader head(w.bytes());
    head.skip(4);
    EXPECT_EQ(head.readInt32(), 7);
    NotesMgr again;
    load(again, w.bytes());
    EXPECT_EQ(again.nodes, stored(db.nodes));
    EXPECT_EQ(again.templates, db.templates);
    EXPECT_EQ(again.nextTemplateId, 50);
}

void expectDefaultReminder(const NoteRecord& n) {
    EXPECT_EQ(n.reminderOn, 0);
    EXPECT_TRUE(n.reminderAckTime.isZero());
    EXPECT_EQ(n.repeatKind, RepeatWeekly);
    EXPECT_EQ(n.repeatDays, kAllWeekdays);
}

} // namespace

TEST(StreamLegacy, Version1) {
    OldStream s(1, 2, 2);
    for (int32_t id : {0, 1}) {
        s.w.writeInt32(id);
        s.w.writeInt32(id - 1);
        s.w.writeInt32(id == 0 ? 1 : 0);
        s.ansi(id == 0 ? "Root" : "Caf\xE9");
        // The discarded time: even a value no calendar can hold is only skipped.
        s.legacyTime(id == 0 ? 86400 : INT64_MAX, id == 1);
        s.w.writeString(u"{\\rtf1 body}");
    }
    const NoteTimestamp before = NoteTimestamp::now();
    NotesMgr db;
    load(db, s.finish());
    const NoteTimestamp after = NoteTimestamp::now();

    EXPECT_EQ(db.dbTitle, u"Old title");
    EXPECT_EQ(db.dbDescription, u"Old \u20AC description");
    EXPECT_EQ(db.templates, catalogue());
    EXPECT_EQ(db.nextTemplateId, 50);
    ASSERT_EQ(db.nodes.size(), 2u);
    const NoteRecord& root = db.nodes.at(0);
    const NoteRecord& note = db.nodes.at(1);
    EXPECT_EQ(root.parentId, -1);
    EXPECT_EQ(root.iconIndex, 1);
    EXPECT_EQ(note.iconIndex, 16);
    EXPECT_EQ(note.title, u"Caf\u00E9");
    EXPECT_EQ(note.body, u"{\\rtf1 body}");
    EXPECT_EQ(note.link, Texts::linkHint);
    EXPECT_EQ(note.templateId, 0);
    EXPECT_TRUE(note.attachmentData.empty());
    expectDefaultReminder(note);
    // Fields the version lacks carry the time of the load.
    EXPECT_LE(CompareTimestamps(before, note.modifiedTime), 0);
    EXPECT_LE(CompareTimestamps(note.modifiedTime, after), 0);
    EXPECT_EQ(note.reminderTime, note.modifiedTime);
    expectUpgraded(db);
}

TEST(StreamLegacy, Version2ConvertsLegacyTimes) {
    const int64_t at = 1000000000;       // fits an int32
    const int64_t ack = 4102444800 + 61; // needs the 64-bit form
    OldStream s(2, 1, 1);
    s.w.writeInt32(0);
    s.w.writeInt32(-1);
    s.w.writeInt32(0);
    s.w.writeString(u"Note");
    s.w.writeString(u"plain body");
    s.reminder(true, at, ack);
    NotesMgr db;
    load(db, s.finish());
    const NoteRecord& n = db.nodes.at(0);
    EXPECT_EQ(n.reminderOn, 1);
    EXPECT_EQ(n.reminderTime, localStamp(at));
    EXPECT_EQ(n.reminderAckTime, localStamp(ack));
    EXPECT_EQ(n.reminderAckTime.second, 1);
    EXPECT_GE(n.reminderAckTime.year, 2099);
    EXPECT_EQ(n.repeatKind, RepeatYearly);
    EXPECT_EQ(n.repeatDays, kSunday);
    EXPECT_EQ(n.iconIndex, 16);
    expectUpgraded(db);
}

TEST(StreamLegacy, UnconvertibleLegacyTimeEndsTheLoadCleanly) {
    // Beyond what the calendar conversion accepts, and a year a time stamp cannot hold.
    for (int64_t seconds : {INT64_MAX, INT64_MIN, int64_t{3000000000000}}) {
        SCOPED_TRACE(seconds);
        OldStream s(2, 1, 1);
        s.w.writeInt32(0);
        s.w.writeInt32(-1);
        s.w.writeInt32(1);
        s.w.writeString(u"Root");
        s.w.writeString(u"");
        s.w.writeInt32(1);
        s.legacyTime(seconds, true);
        s.legacyTime(0);
        s.w.writeInt32(0);
        s.w.writeInt32(0);
        NotesMgr db;
        db.dbTitle = u"held";
        EXPECT_FILE_ERROR(load(db, s.finish()), FileError::Kind::BadFormat);
        EXPECT_EQ(db.dbTitle, u"held");
    }
}

TEST(StreamLegacy, Version3) {
    OldStream s(3, 5, 2);
    s.w.writeInt32(0);
    s.w.writeInt32(-1);
    s.w.writeInt32(1);
    s.w.writeString(u"Root");
    s.w.writeString(u"");
    s.reminder(false, 0, 0);
    s.w.writeInt32(4);
    s.w.writeInt32(0);
    s.w.writeInt32(0);
    s.ansi("\x93quoted\x94");
    s.ansi("{\\rtf1\\ansi 8-bit body}");
    s.reminder(false, 0, 0);
    NotesMgr db;
    load(db, s.finish());
    EXPECT_EQ(db.nextNodeId, 5);
    const NoteRecord& root = db.nodes.at(0);
    const NoteRecord& note = db.nodes.at(4);
    EXPECT_EQ(root.iconIndex, 1);
    EXPECT_EQ(note.iconIndex, 16);
    EXPECT_EQ(note.link, Texts::linkHint);
    EXPECT_EQ(note.title, u"\u201Cquoted\u201D");
    EXPECT_EQ(note.body, u"{\\rtf1\\ansi 8-bit body}");
    EXPECT_EQ(note.reminderTime, stamp(2005, 6, 3, 15, 9, 30));
    EXPECT_EQ(note.reminderAckTime, stamp(2005, 6, 3, 15, 9, 31));
    EXPECT_EQ(db.templates, catalogue());
    expectUpgraded(db);
}

TEST(StreamLegacy, Version4And5) {
    for (int32_t version : {4, 5}) {
        SCOPED_TRACE(version);
        OldStream s(version, 2, 1);
        s.w.writeInt32(1);
        s.w.writeInt32(0);
        s.w.writeInt32(-1);
        s.w.writeInt32(0);
        s.w.writeString(u"Account");
        s.w.writeString(u"body");
        s.w.writeString(u"mailto:someone@example.org");
        s.w.writeTimestamp(stamp(2004, 2, 0, 29, 23, 59));
        if (version == 5) {
            s.w.writeInt32(3);
            for (int i = 0; i < kFieldCount; ++i)
                s.w.writeString(std::u16string(1, static_cast<char16_t>(u'a' + i)));
        }
        s.reminder(false, 0, 0);
        NotesMgr db;
        load(db, s.finish());
        const NoteRecord& n = db.nodes.at(1);
        EXPECT_EQ(n.iconIndex, 16);
        EXPECT_EQ(n.link, u"mailto:someone@example.org");
        EXPECT_EQ(n.modifiedTime, stamp(2004, 2, 0, 29, 23, 59));
        EXPECT_EQ(n.reminderOn, 1);
        EXPECT_EQ(n.repeatKind, RepeatYearly);
        EXPECT_EQ(n.templateId, version == 5 ? 3 : 0);
        EXPECT_EQ(n.fieldValues[6], version == 5 ? u"g" : u"");
        EXPECT_EQ(db.templates, catalogue());
        expectUpgraded(db);
    }
}

TEST(StreamLegacy, Version6HasTheWrittenNodeLayoutButNoTemplates) {
    NotesMgr source;
    source.AddNode(-1, 0, 1, u"Root", {}, {}, stamp(2020, 1, 3, 1, 0, 0));
    source.templates.clear();
    TemplateRecord& own = source.AddTemplate(77);
    own.name = u"would be lost in version 6";
    NoteRecord n(stamp(2020, 1, 3, 1, 0, 0));
    n.nodeId = 1;
    n.isFolder = 0;
    n.iconIndex = 3;
    n.templateId = 77;
    n.setAttachment({1, 2, 3});
    source.nodes.emplace(1, n);
    source.nextNodeId = 2;
    StreamWriter w;
    source.Serialize(w);

    // The version 7 stream without its template section is a version 6 stream.
    StreamReader r(w.bytes());
    r.skip(12);
    r.readString();
    r.readString();
    const size_t templatesAt = w.bytes().size() - r.remaining();
    r.readInt32();
    r.readInt32();
    for (int s = 0; s < 8; ++s)
        r.readString();
    r.readInt32();
    const size_t nodesAt = w.bytes().size() - r.remaining();
    std::vector<uint8_t> v6(w.bytes().begin(), w.bytes().begin() + static_cast<long>(templatesAt));
    v6.insert(v6.end(), w.bytes().begin() + static_cast<long>(nodesAt), w.bytes().end());
    v6[4] = 6;

    NotesMgr db;
    load(db, v6);
    EXPECT_EQ(db.templates, catalogue());
    EXPECT_EQ(db.nextTemplateId, 50);
    EXPECT_EQ(db.nodes.at(1).templateId, 77);
    EXPECT_EQ(db.nodes.at(1).attachmentData, (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(db.nodes.at(1).attachmentSize, 3);
    expectUpgraded(db);
}
