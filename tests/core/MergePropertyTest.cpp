// Random edits on both copies of a random database: the merge keeps every
// edit made on one side, keeps both sides of every conflict, and drops what
// both sides deleted.
#include "core/Merge.h"
#include "core/MergeBaseReceiver.h"
#include "core/TreeOps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <set>

namespace {

struct Field {
    const char* name;
    std::function<std::u16string(const NoteRecord&)> get;
    std::function<void(NoteRecord&, const std::u16string&)> set;
};

std::u16string digits(int32_t n) {
    const std::string s = std::to_string(n);
    return std::u16string(s.begin(), s.end());
}

std::u16string label(std::u16string prefix, int32_t n) {
    return prefix.append(digits(n));
}

const Field kFields[] = {
    {"title", [](const NoteRecord& n) { return n.title; },
     [](NoteRecord& n, const std::u16string& v) { n.title = v; }},
    {"body", [](const NoteRecord& n) { return n.body; },
     [](NoteRecord& n, const std::u16string& v) { n.body = v; }},
    {"link", [](const NoteRecord& n) { return n.link; },
     [](NoteRecord& n, const std::u16string& v) { n.link = v; }},
    {"value", [](const NoteRecord& n) { return n.fieldValues[2]; },
     [](NoteRecord& n, const std::u16string& v) { n.fieldValues[2] = v; }},
    {"folder", [](const NoteRecord& n) { return digits(n.parentId); },
     [](NoteRecord& n, const std::u16string& v) { n.parentId = std::stoi(std::string(v.begin(), v.end())); }},
};
constexpr size_t kFolderField = 4;

void copyContent(const NotesMgr& from, NotesMgr& to, bool withNodes) {
    to.nextNodeId = from.nextNodeId;
    to.nextTemplateId = from.nextTemplateId;
    to.templates = from.templates;
    if (withNodes)
        to.nodes = from.nodes;
    to.dbTitle = from.dbTitle;
}

class Sides {
public:
    explicit Sides(uint32_t seed) : m_random(seed) {
        NewDatabase(base);
        std::vector<int32_t> folders{0};
        const int folderCount = pick(1, 4);
        for (int i = 0; i < folderCount; ++i)
            folders.push_back(base.AddNode(folders[pick(0, i)], 1, 1, label(u"F", i), {}, {}, {}));
        const int noteCount = pick(2, 12);
        for (int i = 0; i < noteCount; ++i)
            base.AddNode(folders[pick(0, folderCount)], 2, 0, label(u"N", i), u"b", {}, {});
        copy(base, ours);
        copy(base, theirs);
        edit(ours, u"o");
        edit(theirs, u"t");
    }

    NotesMgr base, ours, theirs;
    // Every node added on a side, with the side (it may have deleted it again).
    std::vector<std::pair<int32_t, const NotesMgr*>> added;

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

    static void copy(const NotesMgr& from, NotesMgr& to) { copyContent(from, to, true); }

    std::vector<int32_t> ids(const NotesMgr& mgr, bool folders) const {
        std::vector<int32_t> out;
        for (const auto& [id, node] : mgr.nodes)
            if (id != 0 && (node.isFolder != 0) == folders && base.FindNode(id))
                out.push_back(id);
        return out;
    }

    // Values come from a small shared pool, so both sides often make the same edit.
    void edit(NotesMgr& side, const std::u16string& tag) {
        const int steps = pick(0, 8);
        for (int step = 0; step < steps; ++step) {
            const int what = pick(0, 9);
            std::vector<int32_t> folders = ids(side, true);
            folders.push_back(0);
            const std::vector<int32_t> notes = ids(side, false);
            if (what == 0 && folders.size() > 1) {
                DeleteSubtree(side, folders[pick(0, int(folders.size()) - 2)]);
            } else if (what == 1 && !notes.empty()) {
                side.EraseNode(notes[pick(0, int(notes.size()) - 1)]);
            } else if (what == 2) {
                const std::u16string title = label(u"add-" + tag, step);
                added.emplace_back(
                    side.AddNode(folders[pick(0, int(folders.size()) - 1)], 2, 0, title, {}, {}, {}), &side);
            } else if (what == 3 && folders.size() > 1) {
                side.FindNode(folders[pick(0, int(folders.size()) - 2)])->title = label(u"F-", pick(0, 2));
            } else if (!notes.empty()) {
                NoteRecord& note = side.nodes.at(notes[pick(0, int(notes.size()) - 1)]);
                const size_t field = size_t(pick(0, int(std::size(kFields)) - 1));
                const std::u16string value = field == kFolderField
                                                 ? digits(folders[pick(0, int(folders.size()) - 1)])
                                                 : label(u"v", pick(0, 2));
                kFields[field].set(note, value);
            }
        }
    }

    std::mt19937 m_random;
};

// The other copy of a conflicting node: theirs whole, its title marked.
bool hasCopy(const NotesMgr& mgr, const NoteRecord& theirs, const Field& field) {
    for (const auto& [id, node] : mgr.nodes)
        if (node.title == theirs.title + u" (other copy)" &&
            (&field == &kFields[0] || field.get(node) == field.get(theirs)))
            return true;
    return false;
}

// The base as MergeBaseReceiver reads it after both copies. The stream comes
// in an order of its own, repeating some ids with other content, which the
// first record of the id outweighs.
std::vector<int32_t> readBase(const NotesMgr& base, const NotesMgr& ours, const NotesMgr& theirs,
                              NotesMgr& read, std::mt19937& random) {
    copyContent(base, read, false);
    std::vector<NoteRecord> stream;
    for (const auto& [id, node] : base.nodes)
        stream.push_back(node);
    std::shuffle(stream.begin(), stream.end(), random);
    for (size_t i = 0, n = stream.size(); i < n; i += 3) {
        NoteRecord repeated = stream[i];
        repeated.title += u" again";
        stream.push_back(repeated);
    }
    MergeBaseReceiver receiver(read.nodes, ours, theirs);
    for (NoteRecord& record : stream)
        receiver.node(record);
    return receiver.takeUnchanged();
}

// A merge that takes the records of ours, against the whole base or one read
// against both copies, gives what one that copies them gives.
bool takingOursGivesTheSame(const NotesMgr& base, const NotesMgr& ours, const NotesMgr& theirs,
                            std::mt19937& random) {
    NotesMgr copied;
    const MergeReport expected = Merge(base, ours, theirs, copied);
    for (const bool readAgainstCopies : {false, true}) {
        NotesMgr taken, oursToTake, readBack;
        copyContent(ours, oursToTake, true);
        const std::vector<int32_t> unchanged =
            readAgainstCopies ? readBase(base, ours, theirs, readBack, random) : std::vector<int32_t>();
        const MergeReport report =
            MergeTakingOurs(readAgainstCopies ? readBack : base, oursToTake, theirs, taken, unchanged);
        if (report.changed != expected.changed || report.lines() != expected.lines() ||
            taken.nodes != copied.nodes || taken.templates != copied.templates ||
            taken.nextNodeId != copied.nextNodeId)
            return false;
    }
    return true;
}

::testing::AssertionResult checkSeed(uint32_t seed) {
    Sides s(seed);
    NotesMgr out;
    Merge(s.base, s.ours, s.theirs, out);
    auto fail = [&](const auto&... what) {
        auto result = ::testing::AssertionFailure() << "seed " << seed << ": ";
        (result << ... << what);
        return result;
    };
    for (const auto& [id, base] : s.base.nodes) {
        const NoteRecord* o = s.ours.FindNode(id);
        const NoteRecord* t = s.theirs.FindNode(id);
        const NoteRecord* r = out.FindNode(id);
        if (!o && !t && r)
            return fail("node ", id, " deleted on both sides is back");
        if (!base.isFolder && ((!o && t && *t == base) || (!t && o && *o == base)) && r)
            return fail("note ", id, " deleted on one side and unchanged on the other is back");
        for (size_t f = 0; f < std::size(kFields); ++f) {
            const Field& field = kFields[f];
            const bool oc = o && field.get(*o) != field.get(base);
            const bool tc = t && field.get(*t) != field.get(base);
            if (!oc && !tc)
                continue;
            if (!r)
                return fail("edited node ", id, " lost");
            const NoteRecord& wanted = oc ? *o : *t;
            if (field.get(*r) != field.get(wanted))
                return fail("node ", id, " lost the ", field.name, " edit");
            if (oc && tc && field.get(*o) != field.get(*t) && !base.isFolder) {
                if (!hasCopy(out, *t, field))
                    return fail("node ", id, " has no other copy with the ", field.name, " of theirs");
            }
        }
    }
    for (const auto& [id, side] : s.added) {
        const NoteRecord* node = side->FindNode(id);
        bool found = !node;
        for (const auto& [mergedId, merged] : out.nodes)
            found = found || (node && merged.title == node->title);
        if (!found)
            return fail("an added node is missing");
    }
    for (const auto& [id, node] : out.nodes) {
        if (id >= out.nextNodeId)
            return fail("id ", id, " not below nextNodeId");
        int32_t at = node.parentId;
        for (size_t steps = 0; at >= 0; ++steps) {
            const NoteRecord* parent = out.FindNode(at);
            if (!parent || !parent->isFolder || steps > out.nodes.size())
                return fail("node ", id, " hangs off no folder");
            at = parent->parentId;
        }
    }
    NotesMgr same;
    if (Merge(s.base, s.ours, s.base, same).changed || same.nodes != s.ours.nodes)
        return fail("no change on the other side changed ours");
    if (Merge(s.base, s.theirs, s.theirs, same).changed || same.nodes != s.theirs.nodes)
        return fail("merging a copy with itself changed it");
    std::mt19937 random(seed);
    if (!takingOursGivesTheSame(s.base, s.ours, s.theirs, random) ||
        !takingOursGivesTheSame(s.base, s.ours, s.base, random))
        return fail("taking the records of ours changed the merge");
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(MergePropertyTest, RandomEditsOnBothSides) {
    for (uint32_t seed = 1; seed <= 4000; ++seed)
        ASSERT_TRUE(checkSeed(seed));
}
