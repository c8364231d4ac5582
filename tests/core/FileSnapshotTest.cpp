// One load or save gives the file's identity and the deciphered stream from
// its own pass over the bytes: the same identity a separate read of the file
// gives, and a stream that reads back as the same database.
#include "core/FileSnapshot.h"
#include "core/MemorySource.h"
#include "core/NotesMgr.h"
#include "core/StreamReader.h"
#include "core/TreeOps.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

NotesMgr& fill(NotesMgr& mgr) {
    NewDatabase(mgr);
    mgr.password = u"pw";
    const int32_t folder = mgr.AddNode(0, 1, 1, u"Folder", {}, {}, NoteTimestamp{});
    for (int i = 0; i < 300; ++i) // a stream longer than one piece of the file reader
        mgr.AddNode(folder, 2, 0, u"Note", std::u16string(400, u'a' + char16_t(i % 26)), {}, NoteTimestamp{});
    mgr.FindNode(folder + 1)->setAttachment(std::vector<uint8_t>(200000, 7));
    return mgr;
}

void expectSameDatabase(const std::vector<uint8_t>& stream, const NotesMgr& wanted) {
    NotesMgr read;
    MemorySource source(stream);
    StreamReader reader(source);
    read.Serialize(reader);
    EXPECT_EQ(read.nodes, wanted.nodes);
    EXPECT_EQ(read.templates, wanted.templates);
}

} // namespace

TEST(FileSnapshotTest, LoadAndSaveSeeTheBytesOnce) {
    for (const Protection protection : {Protection::Compatible, Protection::Strong}) {
        SCOPED_TRACE(protection == Protection::Strong ? "strong" : "compatible");
        const std::string path =
            (std::filesystem::temp_directory_path() / "sealbook-snapshot-test.nte").string();
        NotesMgr saved;
        fill(saved);
        saved.protection = protection;
        saved.strongCosts = StrongKey::smallestCosts();
        FileSnapshot written;
        saved.Save(path, &written);
        EXPECT_EQ(written.identity, ReadFileIdentity(path).value());

        NotesMgr loaded;
        loaded.password = u"pw";
        FileSnapshot read;
        read.stream = {1, 2, 3}; // a failed earlier attempt's leftovers are dropped
        loaded.Load(path, &read);
        EXPECT_EQ(loaded.protection, protection);
        EXPECT_EQ(read.identity, written.identity);
        EXPECT_EQ(read.stream.size(), written.stream.size());
        expectSameDatabase(written.stream, loaded);
        expectSameDatabase(read.stream, loaded);

        loaded.password = u"wrong";
        EXPECT_ANY_THROW(loaded.Load(path, &read));
        std::filesystem::remove(path);
        std::filesystem::remove(path + ".bak");
    }
}
