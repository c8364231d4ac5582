// find through the built program: the shared table of cases, the exit
// statuses, and the options it refuses.

#include "cli/Utf.h"
#include "core/NotesMgr.h"
#include "tests/support/FindCases.h"

#include "RunProgram.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

const std::map<std::string, std::string> kSecret = {{"SEALBOOK_PASSWORD", "s\xC3\xA9same"}};

class CliFind : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = new TempDir;
        db = (dir->path() / "find.nte").string();
        mgr = new NotesMgr(nullptr);
        FillFindSample(*mgr);
        mgr->password = u"s\u00e9same";
        mgr->Save(db);
    }
    static void TearDownTestSuite() {
        delete mgr;
        delete dir;
    }

    // The line find prints for the node with this title.
    static std::string LineFor(const std::u16string& title) {
        for (const auto& [id, node] : mgr->nodes) {
            if (node.title != title)
                continue;
            std::string path = ToUtf8(node.title);
            for (const NoteRecord* p = mgr->FindNode(node.parentId); p; p = mgr->FindNode(p->parentId))
                path = ToUtf8(p->title) + " / " + path;
            return std::to_string(id) + "\t" + path + "\n";
        }
        return "no node titled " + ToUtf8(title);
    }

    static inline TempDir* dir = nullptr;
    static inline NotesMgr* mgr = nullptr;
    static inline std::string db;
};

TEST_F(CliFind, TheTableOfCases) {
    static const char* const kScopes[] = {"title", "body", "both"};
    for (const FindCase& c : FindCases()) {
        std::vector<std::string> args = {"find", db, ToUtf8(c.text), "--scope", kScopes[c.scope]};
        if (c.matchCase)
            args.push_back("--match-case");
        if (c.wholeWord)
            args.push_back("--whole-word");
        const ProgramResult r = RunSealbook(args, kSecret);
        std::string expected;
        for (const auto& title : c.matches())
            expected += LineFor(title);
        EXPECT_EQ(r.out, expected) << c.name;
        if (expected.empty()) {
            EXPECT_EQ(r.status, 1) << c.name;
            EXPECT_EQ(r.err, "The specified text was not found.\n") << c.name;
        } else {
            EXPECT_EQ(r.status, 0) << c.name;
            EXPECT_EQ(r.err, "") << c.name;
        }
    }
}

TEST_F(CliFind, ScopeDefaultsToBothAndBadCallsFail) {
    const ProgramResult both = RunSealbook({"find", db, "zebra"}, kSecret);
    EXPECT_EQ(both.status, 0);
    EXPECT_EQ(both.out, LineFor(u"Body only"));

    struct Bad {
        std::vector<std::string> args;
        std::map<std::string, std::string> env;
        int status;
        const char* message;
    };
    const Bad bad[] = {
        {{"find", db, "zebra"}, {{"SEALBOOK_PASSWORD", "wrong"}}, 2, "wrong password"},
        {{"find", db, "zebra", "--scope", "titles"}, kSecret, 1, "--scope must be title, body or both"},
        {{"find", db, " \t "}, kSecret, 1, "The search text is empty."},
        {{"find", db, "\xC3"}, kSecret, 1, "not valid UTF-8"},
        {{"find", db}, kSecret, 1, "expects FILE TEXT"},
        {{"ls", db, "--whole-word"}, kSecret, 1, "does not apply"},
        {{"find", db + ".missing", "zebra"}, kSecret, 1, "was not found"},
    };
    for (const Bad& b : bad) {
        const ProgramResult r = RunSealbook(b.args, b.env);
        EXPECT_EQ(r.status, b.status) << b.message;
        EXPECT_EQ(r.out, "") << b.message;
        EXPECT_NE(r.err.find(b.message), std::string::npos) << r.err;
    }
}

} // namespace
