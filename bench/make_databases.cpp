// Writes the databases on which whole commands are timed into a folder:
//   nodes.nte        100,000 small nodes
//   attachments.nte  200 MB of attachments
//   body.nte         one note (id 11) whose body is about 56 MB of RTF
//   empty.nte        the default database, for the program's own baseline
//   ours.nte, theirs.nte
//                    nodes.nte with 1,000 changes each (edits, moves, new and
//                    deleted notes; 100 notes edited on both sides), to time
//                    "sealbook merge nodes.nte ours.nte theirs.nte -o OUT"
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

// Every node of the many-nodes database stamped with one time: the base and
// both copies are built apart, and a minute passing between them would make
// every node a change.
std::unique_ptr<NotesMgr> makeBase() {
    auto db = bench::makeManyNodes();
    const NoteTimestamp stamp{2026, 1, 0, 4, 9, 30};
    for (auto& [id, node] : db->nodes) {
        node.modifiedTime = stamp;
        node.reminderTime = stamp;
    }
    return db;
}

// 1,000 changes to a copy of the many-nodes database; `side` 0 or 1 picks
// different notes, except 100 that both sides edit differently.
std::unique_ptr<NotesMgr> makeEditedCopy(int side) {
    auto db = makeBase();
    const std::u16string tag = side == 0 ? u"ours" : u"theirs";
    const int32_t firstNote = 1011;
    for (int i = 0; i < 700; ++i) {
        NoteRecord& note = db->nodes.at(firstNote + (i < 100 ? i : 100 + side * 1000 + i));
        note.body = u"{\\rtf1\\ansi edited by " + tag + u"}";
        note.fieldValues[2] = tag;
    }
    for (int i = 0; i < 100; ++i)
        db->nodes.at(firstNote + 5000 + side * 1000 + i).parentId = 12 + side;
    for (int i = 0; i < 100; ++i)
        db->EraseNode(firstNote + 10000 + side * 1000 + i);
    for (int i = 0; i < 100; ++i)
        db->AddNode(11 + side, 5, 0, tag + u" new", u"{\\rtf1 new}", Texts::linkHint, NoteTimestamp::now());
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
    makeBase()->Save(folder + "/nodes.nte");
    const auto attachments = bench::makeAttachments();
    attachments->Save(folder + "/attachments.nte");
    attachments->password = u"bench";
    attachments->protection = Protection::Strong;
    attachments->strongCosts = StrongKey::smallestCosts();
    attachments->Save(folder + "/strong.nte");
    makeLongBody()->Save(folder + "/body.nte");
    makeEmpty()->Save(folder + "/empty.nte");
    makeEditedCopy(0)->Save(folder + "/ours.nte");
    makeEditedCopy(1)->Save(folder + "/theirs.nte");
    return 0;
}
