// Writes the databases on which whole commands are timed into a folder:
//   nodes.nte        100,000 small nodes
//   attachments.nte  200 MB of attachments
//   body.nte         one note (id 11) whose body is about 56 MB of RTF
//   empty.nte        the default database, for the program's own baseline
//   strong.nte       attachments.nte strongly protected under the password
//                    "bench", its key of the cheapest costs, so that a load
//                    times the reading and not the key derivation
// All but strong.nte without a password. Usage: make_databases FOLDER

#include "bench/SampleDatabases.h"
#include "core/CodePage.h"
#include "editor/rtf/RtfWriter.h"

#include <cstdio>
#include <string>

namespace {

constexpr size_t kBodyBytes = size_t{56} << 20;

std::unique_ptr<NotesMgr> makeLongBody() {
    auto db = std::make_unique<NotesMgr>();
    bench::addRoot(*db);
    // The document maker counts two bytes a character; the RTF written of it
    // comes to about three quarters of that count.
    std::string rtf = rtf::WriteRtf(bench::makeDocument(kBodyBytes * 131 / 100));
    const int32_t id =
        db->AddNode(1, 5, 0, u"Long note", CodePage::toUtf16(rtf), Texts::linkHint, NoteTimestamp::now());
    std::printf("body.nte: node %d, %zu bytes of RTF\n", id, rtf.size());
    return db;
}

std::unique_ptr<NotesMgr> makeEmpty() {
    auto db = std::make_unique<NotesMgr>();
    bench::addRoot(*db);
    return db;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_databases FOLDER\n");
        return 1;
    }
    const std::string folder = argv[1];
    bench::makeManyNodes()->Save(folder + "/nodes.nte");
    const auto attachments = bench::makeAttachments();
    attachments->Save(folder + "/attachments.nte");
    attachments->password = u"bench";
    attachments->protection = Protection::Strong;
    attachments->strongCosts = StrongKey::smallestCosts();
    attachments->Save(folder + "/strong.nte");
    makeLongBody()->Save(folder + "/body.nte");
    makeEmpty()->Save(folder + "/empty.nte");
    return 0;
}
