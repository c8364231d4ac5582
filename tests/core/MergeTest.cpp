// Merging two copies of one database against the copy both started from.
#include "core/Merge.h"
#include "core/ConcealedValues.h"
#include "core/TreeOps.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

std::unique_ptr<NotesMgr> clone(const NotesMgr& from) {
    auto to = std::make_unique<NotesMgr>();
    to->nextNodeId = from.nextNodeId;
    to->nextTemplateId = from.nextTemplateId;
    to->dbTitle = from.dbTitle;
    to->dbDescription = from.dbDescription;
    to->password = from.password;
    to->templates = from.templates;
    to->nodes = from.nodes;
    return to;
}

bool sameContent(const NotesMgr& a, const NotesMgr& b) {
    return a.nodes == b.nodes && a.templates == b.templates && a.dbTitle == b.dbTitle &&
           a.dbDescription == b.dbDescription && a.password == b.password && a.nextNodeId == b.nextNodeId &&
           a.nextTemplateId == b.nextTemplateId;
}

std::u16string joined(const MergeReport& report) {
    std::u16string text;
    for (const std::u16string& line : report.lines())
        text += line + u"\n";
    return text;
}

const NoteRecord* findTitled(const NotesMgr& mgr, const std::u16string& title) {
    for (const auto& [id, node] : mgr.nodes)
        if (node.title == title)
            return &node;
    return nullptr;
}

// Every parent exists and is a folder, no folder is its own ancestor, and
// nextNodeId lies above every id.
::testing::AssertionResult validTree(const NotesMgr& mgr) {
    for (const auto& [id, node] : mgr.nodes) {
        if (id >= mgr.nextNodeId)
            return ::testing::AssertionFailure() << "id " << id << " not below nextNodeId";
        int32_t at = node.parentId;
        for (size_t steps = 0; at >= 0; ++steps) {
            const NoteRecord* parent = mgr.FindNode(at);
            if (!parent || !parent->isFolder || steps > mgr.nodes.size())
                return ::testing::AssertionFailure() << "node " << id << " has a broken folder chain";
            at = parent->parentId;
        }
    }
    return ::testing::AssertionSuccess();
}

// Root, two folders and two notes; the note "Visa" uses the card template.
struct Fixture {
    NotesMgr base;
    int32_t cards = 0, mail = 0, visa = 0, gmail = 0;
    Fixture() {
        NewDatabase(base);
        NoteTimestamp t;
        t.year = 2020;
        cards = base.AddNode(0, 1, 1, u"Cards", {}, {}, t);
        mail = base.AddNode(0, 1, 1, u"Mail", {}, {}, t);
        visa = base.AddNode(cards, 16, 0, u"Visa", u"body", u"link", t);
        gmail = base.AddNode(mail, 16, 0, u"Gmail", u"mail body", {}, t);
        base.FindNode(visa)->templateId = 1;
        base.FindNode(visa)->fieldValues[4] = u"1234"; // PIN:
        base.FindNode(visa)->fieldValues[0] = u"A. Holder";
    }
};

using Edit = std::function<void(NoteRecord&, int variant)>;
struct FieldCase {
    const char16_t* name; // as the report names it
    Edit edit;
};

const FieldCase kFieldCases[] = {
    {u"Title", [](NoteRecord& n, int v) { n.title = u"T" + std::u16string(1, char16_t(u'0' + v)); }},
    {u"Text", [](NoteRecord& n, int v) { n.body = u"B" + std::u16string(1, char16_t(u'0' + v)); }},
    {u"Icon", [](NoteRecord& n, int v) { n.iconIndex = 20 + v; }},
    {u"Link", [](NoteRecord& n, int v) { n.link = u"L" + std::u16string(1, char16_t(u'0' + v)); }},
    {u"Template", [](NoteRecord& n, int v) { n.templateId = 2 + v; }},
    {u"Cardholder name",
     [](NoteRecord& n, int v) { n.fieldValues[0] = std::u16string(3, char16_t(u'a' + v)); }},
    {u"PIN", [](NoteRecord& n, int v) { n.fieldValues[4] = std::u16string(4, char16_t(u'5' + v)); }},
    {u"Repeat days", [](NoteRecord& n, int v) { n.repeatDays = kMonday * (v + 1); }},
    {u"Reminder time", [](NoteRecord& n, int v) { n.reminderTime.hour = static_cast<uint16_t>(7 + v); }},
    {u"Repeat", [](NoteRecord& n, int v) { n.repeatKind = v == 0 ? RepeatDaily : RepeatYearly; }},
    {u"Attachment", [](NoteRecord& n, int v) { n.attachmentName = u"a", n.setAttachment({uint8_t(v)}); }},
    {u"Folder", [](NoteRecord& n, int v) { n.parentId = v == 0 ? 0 : 2; }},
};

} // namespace

// One field changed on one side, on both the same, on both differently.
TEST(MergeTest, EachFieldMergesOnItsOwn) {
    for (const FieldCase& c : kFieldCases) {
        SCOPED_TRACE(std::string(c.name, c.name + std::char_traits<char16_t>::length(c.name)));
        Fixture f;
        const NoteRecord& before = *f.base.FindNode(f.visa);
        NoteRecord one = before, two = before;
        c.edit(one, 0);
        c.edit(two, 1);
        struct Side {
            const NoteRecord* ours;
            const NoteRecord* theirs;
            const NoteRecord* expected;
            bool conflict;
        } sides[] = {{&before, &one, &one, false},
                     {&one, &before, &one, false},
                     {&one, &one, &one, false},
                     {&one, &two, &one, true}};
        for (const Side& s : sides) {
            auto ours = clone(f.base), theirs = clone(f.base);
            ours->nodes[f.visa] = *s.ours;
            theirs->nodes[f.visa] = *s.theirs;
            NotesMgr out;
            const MergeReport report = Merge(f.base, *ours, *theirs, out);
            EXPECT_EQ(out.nodes.at(f.visa), *s.expected);
            EXPECT_EQ(report.hasConflicts(), s.conflict);
            EXPECT_TRUE(validTree(out));
            if (!s.conflict) {
                EXPECT_EQ(out.nodes.size(), f.base.nodes.size());
                continue;
            }
            ASSERT_EQ(out.nodes.size(), f.base.nodes.size() + 1);
            NoteRecord copy = out.nodes.rbegin()->second;
            EXPECT_EQ(copy.title, two.title + u" (other copy)");
            copy.nodeId = two.nodeId;
            copy.title = two.title;
            EXPECT_EQ(copy, two); // every field of theirs, the folder included
            ASSERT_EQ(report.entries.size(), 1u);
            EXPECT_EQ(report.entries[0].field, c.name);
            const bool secret = std::u16string(c.name) == u"PIN";
            EXPECT_EQ(report.entries[0].concealed, secret);
            if (secret) { // neither value of a concealed field is shown
                EXPECT_EQ(joined(report).find(u"5555"), std::u16string::npos);
                EXPECT_EQ(joined(report).find(u"6666"), std::u16string::npos);
            }
        }
    }
}

TEST(MergeTest, TreeCases) {
    struct Case {
        const char* name;
        std::function<void(Fixture&, NotesMgr& ours, NotesMgr& theirs)> edit;
        std::function<void(Fixture&, const NotesMgr& out, const MergeReport&)> check;
    };
    const Case cases[] = {
        {"move against edit",
         [](Fixture& f, NotesMgr& o, NotesMgr& t) {
             o.FindNode(f.visa)->parentId = f.mail;
             t.FindNode(f.visa)->body = u"new";
         },
         [](Fixture& f, const NotesMgr& out, const MergeReport& r) {
             EXPECT_EQ(out.FindNode(f.visa)->parentId, f.mail);
             EXPECT_EQ(out.FindNode(f.visa)->body, u"new");
             EXPECT_FALSE(r.hasConflicts());
         }},
        {"deleted unchanged goes", [](Fixture& f, NotesMgr&, NotesMgr& t) { DeleteSubtree(t, f.cards); },
         [](Fixture& f, const NotesMgr& out, const MergeReport& r) {
             EXPECT_FALSE(out.FindNode(f.cards) || out.FindNode(f.visa));
             EXPECT_NE(
                 joined(r).find(u"Deleted in the other copy:\n  Untitled / Cards\n  Untitled / Cards / Visa"),
                 std::u16string::npos)
                 << std::string(joined(r).begin(), joined(r).end());
         }},
        {"delete against edit keeps theirs",
         [](Fixture& f, NotesMgr& o, NotesMgr& t) {
             o.EraseNode(f.gmail);
             t.FindNode(f.gmail)->title = u"Gmail 2";
         },
         [](Fixture& f, const NotesMgr& out, const MergeReport& r) {
             EXPECT_EQ(out.FindNode(f.gmail)->title, u"Gmail 2");
             EXPECT_EQ(r.entries.at(0).event, MergeEvent::Kept);
         }},
        {"deleted folder keeps a note added inside",
         [](Fixture& f, NotesMgr& o, NotesMgr& t) {
             DeleteSubtree(o, f.cards);
             t.AddNode(f.cards, 1, 0, u"Amex", {}, {}, NoteTimestamp{});
         },
         [](Fixture& f, const NotesMgr& out, const MergeReport& r) {
             const NoteRecord* amex = findTitled(out, u"Amex");
             ASSERT_TRUE(amex);
             EXPECT_EQ(amex->parentId, f.cards);
             EXPECT_TRUE(out.FindNode(f.cards));
             EXPECT_FALSE(out.FindNode(f.visa));
             EXPECT_NE(joined(r).find(u"Untitled / Cards: deleted in one copy, holds changes"),
                       std::u16string::npos);
         }},
        {"the same new id on both sides is two nodes",
         [](Fixture& f, NotesMgr& o, NotesMgr& t) {
             o.AddNode(f.mail, 1, 0, u"Ours new", {}, {}, NoteTimestamp{});
             const int32_t folder = t.AddNode(0, 1, 1, u"Theirs folder", {}, {}, NoteTimestamp{});
             t.AddNode(folder, 1, 0, u"Theirs child", {}, {}, NoteTimestamp{});
         },
         [](Fixture&, const NotesMgr& out, const MergeReport& r) {
             const NoteRecord* ours = findTitled(out, u"Ours new");
             const NoteRecord* folder = findTitled(out, u"Theirs folder");
             const NoteRecord* child = findTitled(out, u"Theirs child");
             ASSERT_TRUE(ours && folder && child);
             EXPECT_NE(ours->nodeId, folder->nodeId);
             EXPECT_EQ(child->parentId, folder->nodeId);
             EXPECT_EQ(r.entries.size(), 2u);
         }},
        {"moves on both sides into each other's folder make no loop",
         [](Fixture& f, NotesMgr& o, NotesMgr& t) {
             o.FindNode(f.cards)->parentId = f.mail;
             t.FindNode(f.mail)->parentId = f.cards;
         },
         [](Fixture& f, const NotesMgr& out, const MergeReport& r) {
             EXPECT_EQ(out.FindNode(f.cards)->parentId, f.mail);
             EXPECT_EQ(out.FindNode(f.mail)->parentId, 0);
             EXPECT_TRUE(r.hasConflicts());
         }},
        {"folder conflict keeps ours without a copy",
         [](Fixture& f, NotesMgr& o, NotesMgr& t) {
             o.FindNode(f.cards)->title = u"Cards A";
             t.FindNode(f.cards)->title = u"Cards B";
         },
         [](Fixture& f, const NotesMgr& out, const MergeReport& r) {
             EXPECT_EQ(out.FindNode(f.cards)->title, u"Cards A");
             EXPECT_EQ(out.nodes.size(), f.base.nodes.size());
             EXPECT_NE(joined(r).find(u"Title: \"Cards A\" here, \"Cards B\" in the other copy; this copy's"),
                       std::u16string::npos);
         }},
        {"the later acknowledgement, no conflict",
         [](Fixture& f, NotesMgr& o, NotesMgr& t) {
             o.FindNode(f.visa)->reminderAckTime.year = 2030;
             t.FindNode(f.visa)->reminderAckTime.year = 2031;
         },
         [](Fixture& f, const NotesMgr& out, const MergeReport& r) {
             EXPECT_EQ(out.FindNode(f.visa)->reminderAckTime.year, 2031);
             EXPECT_FALSE(r.hasConflicts());
         }},
        {"templates merge by id",
         [](Fixture&, NotesMgr& o, NotesMgr& t) {
             t.templates[0].name = u"Renamed";
             o.templates[1].captions[0] = u"Ours:";
             t.templates[1].captions[0] = u"Theirs:";
             o.AddTemplate().name = u"Ours new";
             TemplateRecord& added = t.AddTemplate();
             added.name = u"Theirs new";
             t.FindNode(3)->templateId = added.templateId;
         },
         [](Fixture& f, const NotesMgr& out, const MergeReport& r) {
             EXPECT_EQ(out.templates[0].name, u"Renamed");
             EXPECT_EQ(out.templates[1].captions[0], u"Ours:");
             const std::u16string copyName = f.base.templates[1].name + u" (other copy)";
             const auto copy = std::find_if(out.templates.begin(), out.templates.end(),
                                            [&](const TemplateRecord& t) { return t.name == copyName; });
             ASSERT_NE(copy, out.templates.end());
             EXPECT_EQ(copy->captions[0], u"Theirs:");
             const TemplateRecord& theirs = out.FindTemplate(out.FindNode(3)->templateId);
             EXPECT_EQ(theirs.name, u"Theirs new");
             EXPECT_GT(out.nextTemplateId, theirs.templateId);
             EXPECT_TRUE(r.hasConflicts());
         }},
        {"database properties: one side wins, both sides keep ours, passwords unshown",
         [](Fixture&, NotesMgr& o, NotesMgr& t) {
             t.dbTitle = u"Theirs title";
             o.dbDescription = u"ours text";
             t.dbDescription = u"their text";
             o.password = u"ours-secret";
             t.password = u"their-secret";
         },
         [](Fixture&, const NotesMgr& out, const MergeReport& r) {
             EXPECT_EQ(out.dbTitle, u"Theirs title");
             EXPECT_EQ(out.dbDescription, u"ours text");
             EXPECT_EQ(out.password, u"ours-secret");
             EXPECT_EQ(joined(r).find(u"secret"), std::u16string::npos);
             EXPECT_NE(joined(r).find(u"Password: changed in both copies"), std::u16string::npos);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        auto ours = clone(f.base), theirs = clone(f.base);
        c.edit(f, *ours, *theirs);
        NotesMgr out;
        const MergeReport report = Merge(f.base, *ours, *theirs, out);
        EXPECT_TRUE(validTree(out));
        EXPECT_FALSE(report.twoWay);
        c.check(f, out, report);
    }
}

TEST(MergeTest, NoChangeOnOneSideGivesTheOther) {
    Fixture f;
    auto edited = clone(f.base);
    edited->FindNode(f.visa)->title = u"Edited";
    DeleteSubtree(*edited, f.mail);
    edited->AddNode(f.cards, 3, 0, u"New", {}, {}, NoteTimestamp{});
    edited->dbTitle = u"Other";
    NotesMgr out;
    MergeReport report = Merge(f.base, *edited, f.base, out);
    EXPECT_TRUE(sameContent(out, *edited));
    EXPECT_FALSE(report.changed);
    EXPECT_EQ(report.lines(),
              std::vector<std::u16string>{u"Nothing to merge: the other copy holds no change."});
    report = Merge(f.base, *edited, *edited, out);
    EXPECT_TRUE(sameContent(out, *edited));
    EXPECT_FALSE(report.changed);
    report = Merge(f.base, f.base, *edited, out);
    EXPECT_TRUE(sameContent(out, *edited));
    EXPECT_TRUE(report.changed);
}

TEST(MergeTest, TwoWayKeepsWhatItCannotMatch) {
    Fixture f;
    auto ours = clone(f.base), theirs = clone(f.base);
    ours->FindNode(f.gmail)->body = u"ours body";
    theirs->FindNode(f.gmail)->body = u"their body";
    theirs->FindNode(f.visa)->title = u"Visa card"; // another title: another node
    NotesMgr out;
    const MergeReport report = MergeTwoWay(*ours, *theirs, out);
    EXPECT_TRUE(report.twoWay);
    EXPECT_TRUE(validTree(out));
    EXPECT_EQ(out.FindNode(f.visa)->title, u"Visa");
    EXPECT_TRUE(findTitled(out, u"Visa card"));
    EXPECT_EQ(out.FindNode(f.gmail)->body, u"ours body");
    EXPECT_EQ(findTitled(out, u"Gmail (other copy)")->body, u"their body");
    EXPECT_EQ(out.nodes.size(), f.base.nodes.size() + 2);
    EXPECT_EQ(report.lines()[0].rfind(u"Two-way merge", 0), 0u);
}
