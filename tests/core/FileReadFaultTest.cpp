// Faults while a database file is being read, met through the deciphering
// source: the file becomes shorter or longer part-way, or a read fails. Each
// ends the load with the file layer's error naming the file, and the
// database in memory stays as it was.
#include "StreamTestSupport.h"

#include "core/DatabaseCipher.h"
#include "core/DatabaseFile.h"
#include "core/DecipheringSource.h"
#include "core/NotesMgr.h"
#include "core/StreamReader.h"
#include "core/TreeOps.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Passes a source on, doing `fault` to the file just before the second read.
class FaultBeforeSecondRead : public ByteSource {
public:
    FaultBeforeSecondRead(ByteSource& source, std::function<void()> fault)
        : m_source(source), m_fault(std::move(fault)) {}

    std::span<const uint8_t> next() override {
        beforeRead();
        return m_source.next();
    }
    size_t readInto(uint8_t* out, size_t size) override {
        beforeRead();
        return m_source.readInto(out, size);
    }
    uint64_t remaining() const override { return m_source.remaining(); }

private:
    void beforeRead() {
        if (++m_reads == 2 && m_fault)
            m_fault();
    }

    ByteSource& m_source;
    std::function<void()> m_fault;
    int m_reads = 0;
};

TEST(FileReadFault, EndsTheLoadWithTheFileErrorAndKeepsTheDatabase) {
    const fs::path folder = fs::temp_directory_path() / ("sealbook-fault-" + std::to_string(getpid()));
    fs::create_directories(folder);
    const std::string path = (folder / "faults.nte").string();
    const auto saveDatabase = [&path] {
        // Several deciphering pieces long, so that reads follow one another.
        NotesMgr db(nullptr);
        NewDatabase(db);
        db.password = u"pw";
        const int32_t id = db.AddNode(0, 16, 0, u"scan", u"", u"", NoteTimestamp::now());
        db.FindNode(id)->setAttachment(std::vector<uint8_t>(600 * 1024, 0x5A));
        db.Save(path);
    };
    saveDatabase();
    const uint64_t fileSize = fs::file_size(path);

    struct Case {
        const char* name;
        std::function<void(int fd)> fault;
        bool fails;
        FileError::Kind kind;
    };
    const Case cases[] = {
        {"no fault", nullptr, false, FileError::Kind::Generic},
        {"shorter", [&](int) { ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(fileSize / 2)), 0); },
         true, FileError::Kind::EndOfFile},
        {"longer",
         [&](int) {
             const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND);
             ASSERT_GE(fd, 0);
             ASSERT_EQ(::write(fd, "more", 4), 4);
             ::close(fd);
         },
         true, FileError::Kind::Generic},
        {"read error",
         [&](int fd) {
             // A folder in the file's place: every further read fails.
             const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
             ASSERT_GE(dir, 0);
             ASSERT_EQ(::dup2(dir, fd), fd);
             ::close(dir);
         },
         true, FileError::Kind::AccessDenied},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int fd = ::open(path.c_str(), O_RDONLY);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::lseek(fd, static_cast<off_t>(kStreamOffset), SEEK_SET),
                  static_cast<off_t>(kStreamOffset));
        const DatabaseCipher cipher(u"pw");
        DecipheringSource source(fd, fileSize - kStreamOffset, cipher, path);
        FaultBeforeSecondRead faulty(source, c.fault ? std::function<void()>([&] { c.fault(fd); }) : nullptr);

        NotesMgr open(nullptr);
        NewDatabase(open);
        open.dbTitle = u"the open database";
        StreamReader reader(faulty);
        if (!c.fails) {
            open.Serialize(reader);
            EXPECT_EQ(open.nodes.size(), 2u);
        } else {
            try {
                open.Serialize(reader);
                ADD_FAILURE() << "the load went on";
            } catch (const FileError& e) {
                EXPECT_EQ(e.kind(), c.kind) << e.what();
                EXPECT_EQ(e.path(), path);
            }
            EXPECT_EQ(open.dbTitle, u"the open database");
            EXPECT_EQ(open.nodes.size(), 1u);
        }
        ::close(fd);
        saveDatabase(); // the next case starts from the file as saved
    }
    fs::remove_all(folder);
}

} // namespace
