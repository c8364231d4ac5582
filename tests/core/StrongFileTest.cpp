// Strongly protected database files: round trips between the two kinds, the
// refusal of every kind of change to a file, costs refused before they are
// spent, the key kept for the session, and saves that put no plaintext on disk.
#include "FileTestSupport.h"

#include "core/PosixFileSink.h"
#include "core/StreamWriter.h"
#include "core/StrongHeader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace streamtest;
using namespace filetest;

namespace {

constexpr size_t kHeader = StrongHeader::size;
constexpr size_t kPiece = StrongHeader::pieceSize + StrongHeader::pieceOverhead;

size_t streamSize(NotesMgr& db) {
    StreamWriter w;
    db.Serialize(w);
    return w.bytes().size();
}

// A strong database with the cheapest key, its stream `streamBytes` long
// (the attachment takes up the difference).
void fillStrong(NotesMgr& db, size_t streamBytes) {
    db.password = u"corr\u00e9ct horse";
    db.protection = Protection::Strong;
    db.strongCosts = StrongKey::smallestCosts();
    NotesMgr probe;
    fill(probe, 1);
    fill(db, streamBytes - streamSize(probe) + 1);
}

enum class Outcome { Loaded, WrongPassword, Damaged, BadFormat, Other };

Outcome loadInto(NotesMgr& db, const std::string& path) {
    try {
        db.Load(path);
        return Outcome::Loaded;
    } catch (const WrongPasswordError&) {
        return Outcome::WrongPassword;
    } catch (const FileError& e) {
        if (e.kind() == FileError::Kind::Damaged) {
            EXPECT_EQ(e.message(), "The file is damaged or was changed by someone else.");
        }
        return e.kind() == FileError::Kind::Damaged     ? Outcome::Damaged
               : e.kind() == FileError::Kind::BadFormat ? Outcome::BadFormat
                                                        : Outcome::Other;
    } catch (...) {
        return Outcome::Other;
    }
}

void putLe(std::vector<uint8_t>& f, size_t at, uint64_t v, size_t n) {
    for (size_t i = 0; i < n; ++i, v >>= 8)
        f[at + i] = static_cast<uint8_t>(v);
}

} // namespace

TEST(StrongFile, RoundTripsBetweenTheKindsKeepEveryField) {
    TempFolder dir;
    const std::string path = (dir / "notes.nte").string();
    // Streams ending inside a piece, exactly on a piece's end and one byte after it.
    for (size_t length : {size_t{10000}, 2 * StrongHeader::pieceSize, 2 * StrongHeader::pieceSize + 1}) {
        SCOPED_TRACE(length);
        NotesMgr db;
        fillStrong(db, length);
        ASSERT_EQ(streamSize(db), length);
        Protection written = Protection::Compatible;
        db.protection = written;
        db.Save(path);
        // Compatible, strong, compatible: each file read back whole, then written in the next kind.
        for (Protection next : {Protection::Strong, Protection::Compatible, Protection::Compatible}) {
            NotesMgr back;
            back.password = db.password;
            back.Load(path);
            EXPECT_EQ(back.protection, written);
            EXPECT_EQ(back.nodes, stored(db.nodes));
            EXPECT_EQ(back.templates, db.templates);
            EXPECT_EQ(back.dbTitle, db.dbTitle);
            back.protection = written = next;
            back.strongCosts = StrongKey::smallestCosts();
            back.Save(path);
            if (next != Protection::Strong)
                continue;
            const std::vector<uint8_t> file = readFile(path);
            EXPECT_TRUE(StrongHeader::startsWithMagic(file));
            // A stream that fills its last piece ends there, with no empty piece after it.
            const size_t pieces = (length + StrongHeader::pieceSize - 1) / StrongHeader::pieceSize;
            EXPECT_EQ(file.size(), kHeader + length + pieces * StrongHeader::pieceOverhead);
        }
    }
}

TEST(StrongFile, EveryChangeToTheFileIsRefusedAndNothingLoaded) {
    TempFolder dir;
    const std::string good = (dir / "good.nte").string();
    NotesMgr db;
    fillStrong(db, 3 * StrongHeader::pieceSize + 500); // four pieces
    db.Save(good);
    const std::vector<uint8_t> file = readFile(good);
    ASSERT_EQ(file.size(), kHeader + 3 * kPiece + 500 + StrongHeader::pieceOverhead);

    using Edit = std::function<void(std::vector<uint8_t>&)>;
    const auto flip = [](size_t at) { return Edit([at](std::vector<uint8_t>& f) { f[at] ^= 0x01; }); };
    const auto cut = [](size_t n) { return Edit([n](std::vector<uint8_t>& f) { f.resize(n); }); };
    const auto swapPieces = [](size_t a, size_t b) {
        return Edit([a, b](std::vector<uint8_t>& f) {
            std::swap_ranges(f.begin() + long(kHeader + a * kPiece),
                             f.begin() + long(kHeader + (a + 1) * kPiece),
                             f.begin() + long(kHeader + b * kPiece));
        });
    };
    const struct {
        const char* what;
        Edit edit;
        Outcome expected;
    } cases[] = {
        {"magic, first bytes", flip(0), Outcome::BadFormat},
        {"magic, last byte", flip(7), Outcome::BadFormat},
        {"format version", flip(8), Outcome::BadFormat},
        {"operations limit", [](auto& f) { f[12] = 2; }, Outcome::WrongPassword},
        {"memory limit", flip(17), Outcome::WrongPassword},
        {"salt", flip(30), Outcome::WrongPassword},
        {"stream header", flip(50), Outcome::WrongPassword},
        {"first piece", flip(kHeader + 100), Outcome::WrongPassword},
        {"first piece's tag", flip(kHeader), Outcome::WrongPassword},
        {"middle piece", flip(kHeader + kPiece + 7), Outcome::Damaged},
        {"last piece", flip(file.size() - 1), Outcome::Damaged},
        {"cut in the header", cut(20), Outcome::Damaged},
        {"cut after the header", cut(kHeader), Outcome::Damaged},
        {"cut in the first piece", cut(kHeader + 1000), Outcome::WrongPassword},
        {"cut after two pieces", cut(kHeader + 2 * kPiece), Outcome::Damaged},
        {"cut inside the third piece", cut(kHeader + 2 * kPiece + 100), Outcome::Damaged},
        {"cut off the last byte", cut(file.size() - 1), Outcome::Damaged},
        {"last piece dropped", cut(kHeader + 3 * kPiece), Outcome::Damaged},
        {"one byte appended", [](auto& f) { f.push_back(0); }, Outcome::Damaged},
        {"a piece appended",
         [](auto& f) { f.insert(f.end(), f.begin() + long(kHeader), f.begin() + long(kHeader + kPiece)); },
         Outcome::Damaged},
        {"second and third pieces swapped", swapPieces(1, 2), Outcome::Damaged},
        {"first and second pieces swapped", swapPieces(0, 1), Outcome::WrongPassword},
    };
    const fs::path changed = dir / "changed.nte";
    NotesMgr open;
    fill(open);
    open.dbTitle = u"held";
    open.password = db.password;
    const auto nodes = open.nodes;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> bytes = file;
        c.edit(bytes);
        writeFile(changed, bytes);
        EXPECT_EQ(loadInto(open, changed.string()), c.expected);
        EXPECT_EQ(open.dbTitle, u"held");
        EXPECT_EQ(open.nodes, nodes);
        EXPECT_EQ(open.protection, Protection::Compatible);
        EXPECT_TRUE(open.recentFiles.empty());
    }
    // The file itself, after all that, still opens.
    EXPECT_EQ(loadInto(open, good), Outcome::Loaded);
    EXPECT_EQ(open.nodes, stored(db.nodes));
}

TEST(StrongFile, WrongThenRightPassword) {
    TempFolder dir;
    const std::string path = (dir / "notes.nte").string();
    NotesMgr db;
    fillStrong(db, 5000);
    db.Save(path);
    NotesMgr open;
    open.password = u"correct horse";
    EXPECT_EQ(loadInto(open, path), Outcome::WrongPassword);
    open.password.clear();
    EXPECT_EQ(loadInto(open, path), Outcome::WrongPassword);
    open.password = db.password;
    EXPECT_EQ(loadInto(open, path), Outcome::Loaded);
    EXPECT_EQ(open.nodes, stored(db.nodes));
    EXPECT_EQ(open.protection, Protection::Strong);
}

TEST(StrongFile, CostsOutOfRangeAreRefusedBeforeAnythingIsAllocated) {
    TempFolder dir;
    const std::string good = (dir / "good.nte").string();
    NotesMgr db;
    fillStrong(db, 10000);
    db.Save(good);
    const std::vector<uint8_t> file = readFile(good);
    const struct {
        size_t at;
        uint64_t value;
        size_t size;
    } cases[] = {
        {16, uint64_t{1} << 40, 8}, // 1 TiB of memory
        {16, (uint64_t{4} << 30) + 1024, 8},
        {16, 1024, 8}, // below the algorithm's least
        {12, 0, 4},    // no pass at all
        {12, 0xFFFFFFFF, 4},
    };
    const fs::path changed = dir / "changed.nte";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        std::vector<uint8_t> bytes = file;
        putLe(bytes, c.at, c.value, c.size);
        writeFile(changed, bytes);
        EXPECT_EXIT(
            {
                limitAddressSpace(64ULL << 20);
                NotesMgr open;
                open.password = db.password;
                std::_Exit(loadInto(open, changed.string()) == Outcome::Damaged ? 0 : 2);
            },
            ::testing::ExitedWithCode(0), "");
    }
}

TEST(StrongFile, TheKeyIsKeptUntilPasswordOrCostsChange) {
    TempFolder dir;
    const std::string path = (dir / "notes.nte").string();
    const auto salt = [&] {
        const std::vector<uint8_t> f = readFile(path);
        return std::vector<uint8_t>(f.begin() + 24, f.begin() + 40);
    };
    NotesMgr db;
    fillStrong(db, 10000);
    db.Save(path);
    const auto key = db.strongKey;
    const auto first = salt();
    db.Save(path);
    EXPECT_EQ(db.strongKey, key);
    EXPECT_EQ(salt(), first);

    NotesMgr open;
    open.password = db.password;
    open.Load(path);
    open.Save(path);
    EXPECT_EQ(salt(), first);
    const auto kept = open.strongKey;
    open.Load(path); // a reload takes the kept key as well
    EXPECT_EQ(open.strongKey, kept);

    open.password = u"another";
    open.Save(path);
    EXPECT_NE(salt(), first);
    EXPECT_NE(open.strongKey, kept);

    open.password.clear();
    EXPECT_THROW(open.Save(path), std::invalid_argument);
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"notes.nte", "notes.nte.bak"}));
}

// Every byte that reaches the disk during a save passes through the file
// sink: none of them may hold the database's plaintext.
TEST(StrongFile, ASaveWritesNoPlaintext) {
    class Recording : public FileSink {
    public:
        Recording(const std::string& target, std::vector<uint8_t>& seen) : m_real(target), m_seen(seen) {}
        const std::string& path() const override { return m_real.path(); }
        void write(const uint8_t* data, size_t size) override {
            m_seen.insert(m_seen.end(), data, data + size);
            m_real.write(data, size);
        }
        void finish() override { m_real.finish(); }
        void discard() override { m_real.discard(); }

    private:
        PosixFileSink m_real;
        std::vector<uint8_t>& m_seen;
    };
    TempFolder dir;
    const std::string path = (dir / "notes.nte").string();
    NotesMgr db;
    fillStrong(db, 200000);
    const std::vector<uint8_t> marker = {'S', 'E', 'C', 'R', 'E', 'T', '-', 'M', 'A', 'R', 'K'};
    NoteRecord& note = db.nodes.rbegin()->second;
    std::vector<uint8_t> data = note.attachmentData;
    std::copy(marker.begin(), marker.end(), data.begin() + 70000);
    note.setAttachment(std::move(data));
    StreamWriter plain;
    db.Serialize(plain);
    ASSERT_NE(std::search(plain.bytes().begin(), plain.bytes().end(), marker.begin(), marker.end()),
              plain.bytes().end());

    std::vector<uint8_t> seen;
    {
        FactoryOverride recording([&seen](const std::string& target) {
            return std::unique_ptr<FileSink>(new Recording(target, seen));
        });
        db.Save(path);
    }
    EXPECT_EQ(seen, readFile(path));
    EXPECT_EQ(std::search(seen.begin(), seen.end(), marker.begin(), marker.end()), seen.end());
    EXPECT_EQ(dir.names(), std::vector<std::string>{"notes.nte"});
}
