// The database stream as a whole: every field written and read back, the
// layout of the written form, and streams that must be refused without
// touching the database in memory.
#include "StreamTestSupport.h"

#include "core/NotesMgr.h"
#include "core/StreamReader.h"
#include "core/StreamWriter.h"
#include "core/Texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

using namespace streamtest;

namespace {

std::vector<uint8_t> streamOf(NotesMgr& db) {
    StreamWriter w;
    db.Serialize(w);
    return w.bytes();
}

void load(NotesMgr& db, const std::vector<uint8_t>& bytes) {
    StreamReader r(bytes);
    db.Serialize(r);
}

NoteRecord fullNote(int32_t id, int32_t parent) {
    NoteRecord n(stamp(2001, 2, 1, 3, 4, 5));
    n.nodeId = id;
    n.parentId = parent;
    n.iconIndex = 42;
    n.isFolder = 0;
    n.title = u"Card \u00E9\u4E2D";
    n.body = u"{\\rtf1\\ansi body}";
    n.link = u"http://example.org/";
    n.modifiedTime = stamp(2022, 7, 5, 15, 9, 30);
    n.reminderOn = 1;
    n.reminderTime = stamp(2023, 1, 0, 1, 8, 0);
    n.reminderAckTime = stamp(2023, 1, 0, 1, 8, 1);
    n.repeatKind = RepeatMonthly;
    n.repeatDays = kMonday | kFriday;
    n.templateId = 1;
    for (int i = 0; i < kFieldCount; ++i)
        n.fieldValues[static_cast<size_t>(i)] =
            u"value " + std::u16string(1, static_cast<char16_t>(u'0' + i));
    n.attachmentName = u"scan.pdf";
    n.attachmentTime = stamp(2019, 11, 4, 28, 12, 0);
    std::vector<uint8_t> data(1000);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<uint8_t>(i * 7);
    n.setAttachment(std::move(data));
    return n;
}

// A database with every field set to something other than its default.
void fill(NotesMgr& db) {
    db.AddNode(-1, 0, 1, Texts::untitled, {}, {}, stamp(2020, 1, 3, 1, 0, 0));
    db.InstallDefaultTemplates();
    TemplateRecord& own = db.AddTemplate();
    own.name = u"Locker";
    own.captions[0] = u"Number:";
    own.captions[6] = u"Combination:";
    db.dbTitle = u"Title \u00FC";
    db.dbDescription = u"Described\r\nover two lines";
    db.AddNode(0, 3, 1, u"Folder", {}, {}, stamp(2020, 1, 3, 1, 0, 0));
    db.nodes.emplace(2, fullNote(2, 1));
    NoteRecord empty(stamp(2010, 10, 0, 10, 10, 10));
    empty.nodeId = 3;
    empty.parentId = 1;
    empty.isFolder = 0;
    empty.iconIndex = 5;
    empty.attachmentName = u"empty.txt";
    db.nodes.emplace(3, empty);
    db.nextNodeId = 9;
}

} // namespace

TEST(StreamDatabase, EveryFieldSurvivesARoundTrip) {
    NotesMgr db;
    fill(db);
    const std::vector<uint8_t> bytes = streamOf(db);

    NotesMgr back;
    back.password = u"kept";
    back.recentFiles = {u"/a.nte"};
    load(back, bytes);
    EXPECT_EQ(back.randomWord, db.randomWord);
    EXPECT_EQ(back.checkWord, kCheckWord);
    EXPECT_EQ(back.formatVersion, 7);
    EXPECT_EQ(back.nextNodeId, 9);
    EXPECT_EQ(back.dbTitle, db.dbTitle);
    EXPECT_EQ(back.dbDescription, db.dbDescription);
    EXPECT_EQ(back.nextTemplateId, 51);
    EXPECT_EQ(back.templates, db.templates);
    EXPECT_EQ(back.nodes, stored(db.nodes));
    EXPECT_EQ(back.password, u"kept");
    EXPECT_EQ(back.recentFiles, std::vector<std::u16string>{u"/a.nte"});
    EXPECT_FALSE(back.IsModified());
    // A 0-byte attachment keeps its name and time and has no buffer.
    EXPECT_EQ(back.nodes.at(3).attachmentSize, 0);
    EXPECT_TRUE(back.nodes.at(3).attachmentData.empty());
}

TEST(StreamDatabase, EmptyDatabaseLayout) {
    NotesMgr db;
    db.AddNode(-1, 0, 1, Texts::untitled, {}, {}, stamp(2020, 1, 3, 1, 0, 0));
    db.InstallDefaultTemplates();
    const std::vector<uint8_t> bytes = streamOf(db);

    StreamReader r(bytes);
    EXPECT_EQ(r.readWord(), db.randomWord);
    EXPECT_EQ(r.readWord(), 777);
    EXPECT_EQ(r.readInt32(), 7);
    EXPECT_EQ(r.readInt32(), 1);
    EXPECT_EQ(r.readString(), u"");
    EXPECT_EQ(r.readString(), u"");
    EXPECT_EQ(r.readInt32(), 16);
    for (int i = 0; i < 16; ++i) {
        r.readInt32();
        for (int s = 0; s < 8; ++s)
            r.readString();
    }
    EXPECT_EQ(r.readInt32(), 50);
    EXPECT_EQ(r.readInt32(), 1);
    EXPECT_EQ(r.readInt32(), 0);  // nodeId
    EXPECT_EQ(r.readInt32(), -1); // parentId
    r.skip(r.remaining() - 16);
    std::vector<uint8_t> trailer = r.readBlock(16);
    EXPECT_EQ(trailer, std::vector<uint8_t>(16, 0));

    NotesMgr back;
    load(back, bytes);
    EXPECT_EQ(back.templates, db.templates);
    EXPECT_EQ(back.nextTemplateId, 50);
    ASSERT_EQ(back.nodes.size(), 1u);
    EXPECT_EQ(back.nodes.at(0), stored(db.nodes.at(0)));
}

TEST(StreamDatabase, EachSaveDrawsANewRandomWord) {
    NotesMgr db;
    fill(db);
    std::set<uint16_t> seen;
    for (int i = 0; i < 8; ++i) {
        const std::vector<uint8_t> bytes = streamOf(db);
        EXPECT_EQ(bytes[0] | (bytes[1] << 8), db.randomWord);
        seen.insert(db.randomWord);
    }
    EXPECT_GT(seen.size(), 1u);
}

TEST(StreamDatabase, RepeatedNodeIdKeepsTheFirstRecord) {
    NotesMgr db;
    db.AddNode(-1, 0, 1, u"first", {}, {}, stamp(2020, 1, 3, 1, 0, 0));
    db.AddNode(0, 0, 1, u"second", {}, {}, stamp(2020, 1, 3, 1, 0, 0));
    std::vector<uint8_t> bytes = streamOf(db);
    // The second record's nodeId lies 20 bytes before its title's characters
    // (nodeId, parentId, iconIndex, isFolder, then the 4-byte length prefix).
    const std::u16string title = u"second";
    const auto* chars = reinterpret_cast<const uint8_t*>(title.data());
    const auto at = std::search(bytes.begin(), bytes.end(), chars, chars + 2 * title.size());
    ASSERT_NE(at, bytes.end());
    const size_t idAt = static_cast<size_t>(at - bytes.begin()) - 20;
    ASSERT_EQ(bytes[idAt], 1);
    bytes[idAt] = 0;

    NotesMgr back;
    load(back, bytes);
    ASSERT_EQ(back.nodes.size(), 1u);
    EXPECT_EQ(back.nodes.at(0).title, u"first");
}

TEST(StreamDatabase, NodeIdsAboveNextNodeIdRaiseIt) {
    NotesMgr db;
    fill(db);
    db.nextNodeId = 2; // a damaged counter: nodes 2 and 3 exist
    NotesMgr back;
    load(back, streamOf(db));
    EXPECT_EQ(back.nextNodeId, 4);
    // A new node must not replace a stored one.
    back.AddNode(0, 1, 1, u"new", {}, {}, stamp(2020, 1, 3, 1, 0, 0));
    EXPECT_EQ(back.nodes.at(3).title, db.nodes.at(3).title);
}

TEST(StreamDatabase, MissingIconsGetTheDefaults) {
    NotesMgr db;
    fill(db);
    db.nodes.at(1).iconIndex = -1;
    db.nodes.at(2).iconIndex = -1;
    db.nodes.at(3).iconIndex = -2;
    NotesMgr back;
    load(back, streamOf(db));
    EXPECT_EQ(back.nodes.at(1).iconIndex, 1);
    EXPECT_EQ(back.nodes.at(2).iconIndex, 16);
    EXPECT_EQ(back.nodes.at(3).iconIndex, -2);
}

TEST(StreamDatabase, WrongCheckWordChangesNothing) {
    NotesMgr db;
    fill(db);
    std::vector<uint8_t> bytes = streamOf(db);
    bytes[2] = 0x0A; // check word 778

    NotesMgr held;
    fill(held);
    held.dbTitle = u"held";
    held.password = u"pw";
    const auto nodes = held.nodes;
    const auto templates = held.templates;
    const uint16_t random = held.randomWord;
    try {
        load(held, bytes);
        ADD_FAILURE() << "no WrongPasswordError";
    } catch (const WrongPasswordError& e) {
        EXPECT_EQ(WrongPasswordError::code, 777);
    }
    EXPECT_EQ(held.dbTitle, u"held");
    EXPECT_EQ(held.nodes, nodes);
    EXPECT_EQ(held.templates, templates);
    EXPECT_EQ(held.randomWord, random);
    EXPECT_EQ(held.password, u"pw");
}

TEST(StreamDatabase, UnknownVersionsAreRefused) {
    for (int32_t version : {0, -1, 8, 1000}) {
        SCOPED_TRACE(version);
        StreamWriter w;
        w.writeWord(1);
        w.writeWord(777);
        w.writeInt32(version);
        w.writeInt32(0);
        w.writeString(u"");
        w.writeString(u"");
        w.writeInt32(0);
        w.writeInt32(0);
        w.writeInt32(0);
        const uint8_t trailer[16] = {};
        w.writeBytes(trailer, 16);
        NotesMgr db;
        try {
            load(db, w.bytes());
            ADD_FAILURE() << "accepted";
        } catch (const FileError& e) {
            EXPECT_EQ(e.kind(), FileError::Kind::BadFormat);
            EXPECT_STREQ(e.what(), "Unexpected file format.");
        }
    }
}

TEST(StreamDatabase, TruncationAtEveryLengthLeavesTheDatabaseAsItWas) {
    NotesMgr db;
    fill(db);
    db.nodes.at(2).attachmentData.resize(40);
    db.nodes.at(2).attachmentSize = 40;
    const std::vector<uint8_t> bytes = streamOf(db);

    NotesMgr held;
    held.AddNode(-1, 0, 1, u"held root", {}, {}, stamp(2020, 1, 3, 1, 0, 0));
    held.dbTitle = u"held";
    const auto nodes = held.nodes;
    for (size_t n = 0; n < bytes.size(); ++n) {
        StreamReader r(std::span<const uint8_t>(bytes.data(), n));
        try {
            held.Serialize(r);
            ADD_FAILURE() << "accepted a stream cut at " << n;
        } catch (const FileError& e) {
            EXPECT_EQ(e.kind(), FileError::Kind::EndOfFile) << n;
        }
    }
    EXPECT_EQ(held.dbTitle, u"held");
    EXPECT_EQ(held.nodes, nodes);
    EXPECT_TRUE(held.templates.empty());
}

TEST(StreamDatabase, HugeCountsAndSizesAreRefused) {
    NotesMgr db;
    fill(db);
    const std::vector<uint8_t> bytes = streamOf(db);
    // Offsets of the template count, the node count and node 2's attachment size.
    StreamReader r(bytes);
    r.skip(12);
    r.readString();
    r.readString();
    const size_t templateCountAt = bytes.size() - r.remaining();
    const int32_t templates = r.readInt32();
    for (int32_t i = 0; i < templates; ++i) {
        r.readInt32();
        for (int s = 0; s < 8; ++s)
            r.readString();
    }
    r.readInt32();
    const size_t nodeCountAt = bytes.size() - r.remaining();

    for (size_t at : {templateCountAt, nodeCountAt}) {
        for (uint32_t value : {0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 0x00100000u}) {
            std::vector<uint8_t> bad = bytes;
            for (int i = 0; i < 4; ++i)
                bad[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
            NotesMgr back;
            EXPECT_FILE_ERROR(load(back, bad), FileError::Kind::EndOfFile);
        }
    }

    // The attachment size sits 4 + 12 bytes before the 1000 data bytes of node 2.
    const std::vector<uint8_t>& data = db.nodes.at(2).attachmentData;
    const auto found = std::search(bytes.begin(), bytes.end(), data.begin(), data.end());
    ASSERT_NE(found, bytes.end());
    const size_t sizeAt = static_cast<size_t>(found - bytes.begin()) - 16;
    ASSERT_EQ(bytes[sizeAt] | (bytes[sizeAt + 1] << 8), 1000);
    for (uint32_t value : {0x7FFFFFFFu, 0xFFFFFFFFu, 0x80000000u}) {
        std::vector<uint8_t> bad = bytes;
        for (int i = 0; i < 4; ++i)
            bad[sizeAt + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
        NotesMgr back;
        EXPECT_FILE_ERROR(load(back, bad), FileError::Kind::EndOfFile);
    }
}

TEST(StreamDatabase, AttachmentSizeOutOfStepCannotShiftLaterFields) {
    NotesMgr db;
    fill(db);
    db.nodes.at(2).attachmentSize = 5000; // the buffer holds 1000 bytes
    NotesMgr back;
    load(back, streamOf(db));
    EXPECT_EQ(back.nodes.at(2).attachmentSize, 1000);
    EXPECT_EQ(back.nodes.at(2).attachmentData, db.nodes.at(2).attachmentData);
    EXPECT_EQ(back.nodes.at(3), stored(db.nodes.at(3)));
}
