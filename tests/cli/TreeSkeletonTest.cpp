// The skeleton ls and verify read node by node agrees with a whole load of
// the same file, also where records come out of id order or repeat an id.

#include "cli/TreeSkeleton.h"
#include "cli/TreeCheck.h"
#include "cli/TreeListing.h"
#include "core/DatabaseCipher.h"
#include "core/NotesMgr.h"
#include "core/StreamWriter.h"
#include "core/TreeOps.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

// The stream of `db`, cut into the part before the node count, each node
// record, and the trailer: a database of one node more gives that node's record.
std::vector<uint8_t> streamOf(NotesMgr& db) {
    StreamWriter out;
    db.Serialize(out);
    return out.bytes();
}

// A file whose records are those of `order`, ids of nodes of `db`, in that
// order (repeats allowed).
void writeReordered(NotesMgr& db, const std::vector<int32_t>& order, const std::string& path) {
    constexpr size_t kTrailer = 16;
    NotesMgr empty(nullptr);
    empty.templates = db.templates;
    empty.nextTemplateId = db.nextTemplateId;
    empty.nextNodeId = db.nextNodeId;
    const std::vector<uint8_t> head = streamOf(empty);
    std::vector<uint8_t> stream(head.begin(), head.end() - kTrailer - 4);
    StreamWriter count;
    count.writeInt32(static_cast<int32_t>(order.size()));
    stream.insert(stream.end(), count.bytes().begin(), count.bytes().end());
    for (int32_t id : order) {
        empty.nodes = {{id, *db.FindNode(id)}};
        const std::vector<uint8_t> one = streamOf(empty);
        stream.insert(stream.end(), one.begin() + static_cast<ptrdiff_t>(head.size() - kTrailer),
                      one.end() - kTrailer);
    }
    stream.insert(stream.end(), kTrailer, 0);
    DatabaseCipher cipher(u"");
    const std::vector<uint8_t> body = cipher.encipherStream(stream.data(), stream.size(), [] { return 7; });
    std::ofstream file(path, std::ios::binary);
    const uint8_t magic[4] = {0x1A, 0x7F, 0x1D, 0xAF};
    file.write(reinterpret_cast<const char*>(magic), 4);
    file.write(reinterpret_cast<const char*>(body.data()), static_cast<std::streamsize>(body.size()));
}

std::vector<std::pair<int32_t, int>> listed(const TreeListing& listing) {
    std::vector<std::pair<int32_t, int>> out;
    for (const auto& item : listing.shown)
        out.emplace_back(item.nodeId, item.depth);
    return out;
}

TEST(CliTreeSkeleton, AgreesWithAWholeLoad) {
    NotesMgr db(nullptr);
    NewDatabase(db);
    const auto now = NoteTimestamp::now();
    const int32_t folder = db.AddNode(0, 1, 1, u"Zeta folder", u"", u"", now);
    const int32_t note = db.AddNode(folder, 16, 0, u"alpha \u00e9", u"body", u"", now);
    db.FindNode(note)->setAttachment({1, 2, 3});
    const int32_t other = db.AddNode(0, 16, 0, u"Beta", u"", u"", now);
    const int32_t orphan = db.AddNode(4242, 16, 0, u"lost", u"", u"", now);

    TempDir dir;
    const std::vector<std::vector<int32_t>> orders = {
        {0, folder, note, other, orphan},
        {orphan, note, 0, other, folder},         // out of id order
        {0, folder, note, note, other, folder},   // a repeated id: the first record counts
        {other, 0, other, folder, orphan, note}}; // both
    for (const auto& order : orders) {
        const std::string path = (dir.path() / "order.nte").string();
        writeReordered(db, order, path);
        NotesMgr loaded(nullptr);
        loaded.Load(path);
        const TreeSkeleton whole = SkeletonOf(loaded);
        NotesMgr fields(nullptr);
        const TreeSkeleton read = ReadSkeleton(fields, path, true);

        ASSERT_EQ(read.nodes.size(), whole.nodes.size());
        for (size_t i = 0; i < read.nodes.size(); ++i) {
            const TreeEntry& a = read.nodes[i];
            const TreeEntry& b = whole.nodes[i];
            EXPECT_EQ(a.nodeId, b.nodeId);
            EXPECT_EQ(a.parentId, b.parentId);
            EXPECT_EQ(a.isFolder, b.isFolder);
            EXPECT_EQ(a.attachmentSize, b.attachmentSize);
            EXPECT_EQ(a.attachmentBytes, b.attachmentBytes);
            EXPECT_EQ(read.title(a), whole.title(b));
        }
        EXPECT_EQ(read.nextNodeId, whole.nextNodeId);
        EXPECT_EQ(listed(ListTree(read)), listed(ListTree(whole)));
        EXPECT_EQ(ListTree(read).unreachable, ListTree(whole).unreachable);
        EXPECT_EQ(FindTreeProblem(read), FindTreeProblem(whole));
        EXPECT_EQ(fields.templates, loaded.templates);
    }
}

} // namespace
