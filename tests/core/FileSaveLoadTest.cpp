// Saving and loading database files: the file layout, passwords, refusal of
// foreign and short files, the backup, and saves that fail part-way.
#include "FileTestSupport.h"
#include "StreamTestSupport.h"

#include "core/DatabaseCipher.h"
#include "core/FileSink.h"
#include "core/NotesMgr.h"
#include "core/PosixFileSink.h"
#include "core/StreamWriter.h"
#include "core/StrongHeader.h"
#include "core/Texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

using namespace streamtest;
using namespace filetest;
namespace fs = std::filesystem;

namespace {

size_t streamSize(NotesMgr& db) {
    StreamWriter w;
    db.Serialize(w);
    return w.bytes().size();
}

// A real file that runs out of space after `budget` bytes, or fails to flush.
class FailingSink : public FileSink {
public:
    FailingSink(const std::string& target, size_t budget, bool failFinish)
        : m_real(target), m_target(target), m_budget(budget), m_failFinish(failFinish) {}
    const std::string& path() const override { return m_real.path(); }
    void write(const uint8_t* data, size_t size) override {
        if (size > m_budget) {
            m_real.write(data, m_budget);
            m_budget = 0;
            throw FileError(FileError::Kind::DiskFull, m_target);
        }
        m_real.write(data, size);
        m_budget -= size;
    }
    void finish() override {
        if (m_failFinish)
            throw FileError(FileError::Kind::Generic, m_target);
        m_real.finish();
    }
    void discard() override { m_real.discard(); }

private:
    PosixFileSink m_real;
    std::string m_target;
    size_t m_budget;
    bool m_failFinish;
};

} // namespace

TEST(FileSaveLoad, RoundTripAndLayout) {
    TempFolder dir;
    const std::string path = (dir / "notes.nte").string();
    NotesMgr db;
    db.password = u"Tr0ub4dor";
    fill(db, 2500000); // spans several of the pieces the file is written in
    ASSERT_TRUE(db.Save(path));
    EXPECT_EQ(db.recentFiles.front(), ascii(path));

    const uint16_t savedRandom = db.randomWord;
    const std::vector<uint8_t> file = readFile(path);
    ASSERT_GE(file.size(), 4u);
    EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + 4),
              (std::vector<uint8_t>{0x1A, 0x7F, 0x1D, 0xAF}));
    EXPECT_EQ(file.size(), 68 + streamSize(db));
    EXPECT_EQ(dir.names(), std::vector<std::string>{"notes.nte"});

    NotesMgr back;
    back.password = u"Tr0ub4dor";
    back.recentFiles = {u"/elsewhere.nte"};
    ASSERT_TRUE(back.Load(path));
    EXPECT_EQ(back.nodes, stored(db.nodes));
    EXPECT_EQ(back.templates, db.templates);
    EXPECT_EQ(back.dbTitle, u"Household");
    EXPECT_EQ(back.randomWord, savedRandom);
    EXPECT_EQ(back.password, u"Tr0ub4dor");
    EXPECT_EQ(back.recentFiles, (std::vector<std::u16string>{ascii(path), u"/elsewhere.nte"}));
}

TEST(FileSaveLoad, StreamLengthsOnAndOffTheUnitBoundary) {
    TempFolder dir;
    std::set<size_t> remainders;
    for (int extra = 0; extra < 8; ++extra) {
        NotesMgr db;
        fill(db);
        db.dbDescription = std::u16string(static_cast<size_t>(extra), u'd');
        remainders.insert(streamSize(db) % 16);
        const std::string path = (dir / "n").string() + std::to_string(extra) + ".nte";
        db.Save(path);
        NotesMgr back;
        back.Load(path);
        EXPECT_EQ(back.nodes, stored(db.nodes));
        EXPECT_EQ(back.dbDescription, db.dbDescription);
    }
    EXPECT_TRUE(remainders.count(0));
    EXPECT_GT(remainders.size(), 1u);
}

TEST(FileSaveLoad, WrongPasswordChangesNothing) {
    TempFolder dir;
    const std::string path = (dir / "locked.nte").string();
    NotesMgr db;
    db.password = u"right";
    fill(db);
    db.Save(path);

    NotesMgr held;
    held.password = u"wrong";
    fill(held);
    held.dbTitle = u"held";
    held.recentFiles = {u"/x.nte"};
    const auto nodes = held.nodes;
    EXPECT_THROW(held.Load(path), WrongPasswordError);
    EXPECT_EQ(held.dbTitle, u"held");
    EXPECT_EQ(held.nodes, nodes);
    EXPECT_EQ(held.password, u"wrong");
    EXPECT_EQ(held.recentFiles, std::vector<std::u16string>{u"/x.nte"});

    held.password = u"right";
    EXPECT_TRUE(held.Load(path));
    EXPECT_EQ(held.dbTitle, u"Household");
}

TEST(FileSaveLoad, EmptyPasswordUsesTheDefaultPasswordsKey) {
    TempFolder dir;
    const std::string path = (dir / "open.nte").string();
    NotesMgr db;
    fill(db);
    db.Save(path);

    const std::vector<uint8_t> file = readFile(path);
    const DatabaseCipher defaultKey(std::u16string_view(u"#8Kw%2Lp!9Zr^4"));
    const std::vector<uint8_t> stream = defaultKey.decipherStream(file.data() + 4, file.size() - 4);
    ASSERT_GE(stream.size(), 4u);
    EXPECT_EQ(stream[2] | (stream[3] << 8), 777);

    NotesMgr none;
    EXPECT_TRUE(none.Load(path));
    NotesMgr spelled;
    spelled.password = Texts::defaultPassword;
    EXPECT_TRUE(spelled.Load(path));
    NotesMgr other;
    other.password = u"#8Kw%2Lp!9Zr^5";
    EXPECT_THROW(other.Load(path), WrongPasswordError);
}

TEST(FileSaveLoad, FilesWithoutTheMagicAreRefused) {
    TempFolder dir;
    NotesMgr db;
    fill(db);
    const std::string good = (dir / "good.nte").string();
    db.Save(good);
    std::vector<uint8_t> headless = readFile(good);
    headless.erase(headless.begin(), headless.begin() + 4);

    const std::vector<std::vector<uint8_t>> foreign = {{},
                                                       {0x1A, 0x7F, 0x1D},
                                                       {0x1A, 0x7F, 0x1D, 0xAE, 0, 0, 0, 0},
                                                       std::vector<uint8_t>(500, 0x41),
                                                       headless};
    for (size_t i = 0; i < foreign.size(); ++i) {
        SCOPED_TRACE(i);
        const fs::path p = dir / "foreign.nte";
        writeFile(p, foreign[i]);
        NotesMgr held;
        held.dbTitle = u"held";
        try {
            held.Load(p.string());
            ADD_FAILURE() << "accepted";
        } catch (const FileError& e) {
            EXPECT_EQ(e.kind(), FileError::Kind::BadFormat);
            EXPECT_EQ(e.message(), p.string() + ": Unexpected file format.");
        }
        EXPECT_EQ(held.dbTitle, u"held");
    }
}

TEST(FileSaveLoad, TruncatedFilesAreRefusedCleanly) {
    TempFolder dir;
    NotesMgr db;
    fill(db);
    const std::string good = (dir / "good.nte").string();
    db.Save(good);
    const std::vector<uint8_t> file = readFile(good);
    const fs::path cut = dir / "cut.nte";
    NotesMgr held;
    held.dbTitle = u"held";
    // Every cut around the prefix and the first units, then a sample of the rest.
    std::vector<size_t> cuts;
    for (size_t n = 4; n < file.size(); n += n < 120 || n + 40 > file.size() ? 1 : 29)
        cuts.push_back(n);
    for (size_t n : cuts) {
        writeFile(cut, std::vector<uint8_t>(file.begin(), file.begin() + static_cast<long>(n)));
        try {
            held.Load(cut.string());
            ADD_FAILURE() << "accepted a file cut at " << n;
        } catch (const FileError& e) {
            EXPECT_EQ(e.kind(), FileError::Kind::EndOfFile) << n;
            // The message names the file, not "an unnamed file".
            EXPECT_EQ(e.message(), "An attempt was made to access " + cut.string() + " past its end.") << n;
        } catch (const WrongPasswordError&) {
            // Under 84 bytes the first unit is incomplete and stays undeciphered.
            EXPECT_LT(n, 84u);
        }
    }
    EXPECT_EQ(held.dbTitle, u"held");
    EXPECT_TRUE(held.recentFiles.empty());
}

TEST(FileSaveLoad, TwoSavesDifferOnlyInPrefixAndFirstUnit) {
    TempFolder dir;
    NotesMgr db;
    db.password = u"same";
    fill(db, 5000);
    const std::string a = (dir / "a.nte").string();
    const std::string b = (dir / "b.nte").string();
    db.Save(a);
    db.Save(b);
    const std::vector<uint8_t> fa = readFile(a);
    const std::vector<uint8_t> fb = readFile(b);
    ASSERT_EQ(fa.size(), fb.size());
    EXPECT_TRUE(std::equal(fa.begin(), fa.begin() + 4, fb.begin()));
    EXPECT_FALSE(std::equal(fa.begin() + 4, fa.begin() + 68, fb.begin() + 4));
    EXPECT_FALSE(std::equal(fa.begin() + 68, fa.begin() + 84, fb.begin() + 68));
    EXPECT_TRUE(std::equal(fa.begin() + 84, fa.end(), fb.begin() + 84));
}

TEST(FileSaveLoad, PreviousFileBecomesTheBackup) {
    TempFolder dir;
    const fs::path path = dir / "notes.nte";
    const fs::path backup = dir / "notes.nte.bak";
    NotesMgr db;
    fill(db);
    db.Save(path.string());
    EXPECT_FALSE(fs::exists(backup));
    const std::vector<uint8_t> first = readFile(path);
    db.dbTitle = u"second";
    db.Save(path.string());
    EXPECT_EQ(readFile(backup), first);
    const std::vector<uint8_t> second = readFile(path);
    db.Save(path.string());
    EXPECT_EQ(readFile(backup), second);
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"notes.nte", "notes.nte.bak"}));

    NotesMgr back;
    back.Load(backup.string());
    EXPECT_EQ(back.dbTitle, u"second");
}

// In both kinds: a strong file is written on a thread of its own, whose
// failure must come back to the save.
TEST(FileSaveLoad, FailedSaveLeavesThePreviousFiles) {
    for (Protection kind : {Protection::Compatible, Protection::Strong}) {
        SCOPED_TRACE(int(kind));
        TempFolder dir;
        const fs::path path = dir / "notes.nte";
        const fs::path backup = dir / "notes.nte.bak";
        NotesMgr db;
        fill(db, (1 << 20) + 300000);
        db.password = u"pw";
        db.protection = kind;
        db.strongCosts = StrongKey::smallestCosts();
        db.Save(path.string());
        db.dbTitle = u"second";
        db.Save(path.string());
        const std::vector<uint8_t> current = readFile(path);
        const std::vector<uint8_t> older = readFile(backup);
        db.dbTitle = u"third";
        db.recentFiles.clear();
        const auto nodes = db.nodes;

        const size_t stream = streamSize(db);
        const size_t pieces = (stream + StrongHeader::pieceSize - 1) / StrongHeader::pieceSize;
        const size_t full = kind == Protection::Strong
                                ? StrongHeader::size + stream + pieces * StrongHeader::pieceOverhead
                                : 68 + stream;
        for (size_t budget : {size_t{0}, size_t{1}, size_t{4}, size_t{67}, size_t{68}, size_t{100},
                              size_t{1} << 20, (size_t{1} << 20) + 68, full - 1, full}) {
            SCOPED_TRACE(budget);
            const bool failFinish = budget == full;
            FactoryOverride override([&](const std::string& target) {
                return std::make_unique<FailingSink>(target, budget, failFinish);
            });
            try {
                db.Save(path.string());
                ADD_FAILURE() << "reported success";
            } catch (const FileError& e) {
                EXPECT_EQ(e.kind(), failFinish ? FileError::Kind::Generic : FileError::Kind::DiskFull);
                EXPECT_EQ(e.path(), path.string());
            }
            EXPECT_EQ(readFile(path), current);
            EXPECT_EQ(readFile(backup), older);
            EXPECT_EQ(dir.names(), (std::vector<std::string>{"notes.nte", "notes.nte.bak"}));
            EXPECT_TRUE(db.recentFiles.empty());
            EXPECT_EQ(db.nodes, nodes);
        }
        // With the disk back, the save goes through.
        db.Save(path.string());
        EXPECT_EQ(readFile(backup), current);
    }
}

TEST(FileSaveLoad, FolderWithANonAsciiName) {
    TempFolder dir("sealbook-данные ü-XXXXXX");
    const fs::path sub = dir / "Заметки";
    fs::create_directory(sub);
    const std::string path = (sub / "Haushalt ä.nte").string();
    NotesMgr db;
    db.password = u"пароль";
    fill(db);
    db.Save(path);
    db.Save(path);
    EXPECT_TRUE(fs::exists(path + ".bak"));
    NotesMgr back;
    back.password = u"пароль";
    back.Load(path);
    EXPECT_EQ(back.nodes, stored(db.nodes));
    ASSERT_FALSE(back.recentFiles.empty());
    EXPECT_NE(back.recentFiles.front().find(u"данные ü"), std::u16string::npos);
    EXPECT_NE(back.recentFiles.front().find(u"Заметки/Haushalt ä.nte"), std::u16string::npos);
}

TEST(FileSaveLoad, SystemErrorsCarryTheirKind) {
    TempFolder dir;
    NotesMgr db;
    fill(db);
    EXPECT_FILE_ERROR(db.Load((dir / "missing.nte").string()), FileError::Kind::FileNotFound);
    EXPECT_FILE_ERROR(db.Save((dir / "no such folder" / "x.nte").string()), FileError::Kind::FileNotFound);
    const fs::path folder = dir / "folder.nte";
    fs::create_directory(folder);
    fs::create_directory(folder / "inside");
    EXPECT_FILE_ERROR(db.Save(folder.string()), FileError::Kind::AccessDenied);
    EXPECT_FILE_ERROR(db.Load(folder.string()), FileError::Kind::AccessDenied);
    EXPECT_TRUE(fs::exists(folder / "inside"));
    EXPECT_TRUE(db.recentFiles.empty());
}

TEST(FileSaveLoad, RecentFilesHoldFullPaths) {
    TempFolder dir;
    fs::create_directory(dir / "sub");
    const fs::path previous = fs::current_path();
    fs::current_path(dir.path());
    NotesMgr db;
    fill(db);
    try {
        db.Save("./sub/../relative.nte");
    } catch (...) {
        fs::current_path(previous);
        throw;
    }
    fs::current_path(previous);
    EXPECT_TRUE(fs::exists(dir / "relative.nte"));
    ASSERT_FALSE(db.recentFiles.empty());
    EXPECT_EQ(db.recentFiles.front(), ascii((dir / "relative.nte").string()));
}

TEST(FileSaveLoad, SavingThroughALinkReplacesTheFileBehindIt) {
    TempFolder dir;
    fs::create_directory(dir / "real");
    const fs::path target = dir / "real" / "notes.nte";
    const fs::path link = dir / "notes.nte";
    NotesMgr db;
    fill(db);
    db.Save(target.string());
    const std::vector<uint8_t> first = readFile(target);
    fs::create_symlink(target, link);
    db.dbTitle = u"through the link";
    db.Save(link.string());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readFile(target.string() + ".bak"), first);
    NotesMgr back;
    back.Load(target.string());
    EXPECT_EQ(back.dbTitle, u"through the link");
    EXPECT_EQ(db.recentFiles.front(), ascii(link.string()));
}
