// merge end to end: the three files, the written result and its backup, the
// printed report, the exit status, passwords per file, and the program as a
// merge driver of git.

#include "core/NotesMgr.h"
#include "core/TreeOps.h"

#include "RunProgram.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>

namespace {

namespace fs = std::filesystem;

class CliMerge : public ::testing::Test {
protected:
    TempDir dir;

    std::string path(const std::string& name) const { return (dir.path() / name).string(); }

    // The base database, edited by `edit` and saved under `name`.
    std::string save(const std::string& name, const std::function<void(NotesMgr&)>& edit = {},
                     const std::u16string& password = u"pw") {
        NotesMgr mgr(nullptr);
        NewDatabase(mgr);
        const int32_t folder = mgr.AddNode(0, 1, 1, u"Cards", {}, {}, NoteTimestamp{});
        mgr.AddNode(folder, 2, 0, u"Visa", u"body", {}, NoteTimestamp{});
        if (edit)
            edit(mgr);
        mgr.password = password;
        mgr.Save(path(name));
        return path(name);
    }

    static std::unique_ptr<NotesMgr> load(const std::string& file, const std::u16string& password = u"pw") {
        auto mgr = std::make_unique<NotesMgr>(nullptr);
        mgr->password = password;
        mgr->Load(file);
        return mgr;
    }

    static bool hasTitle(const NotesMgr& mgr, const std::u16string& title) {
        for (const auto& [id, node] : mgr.nodes)
            if (node.title == title)
                return true;
        return false;
    }

    const std::map<std::string, std::string> env{{"SEALBOOK_PASSWORD", "pw"}};
};

void retitle(NotesMgr& mgr, const std::u16string& title) {
    mgr.FindNode(2)->title = title;
}

} // namespace

TEST_F(CliMerge, ConflictsAndCleanMerges) {
    const std::string base = save("base.nte");
    const std::string ours = save("ours.nte", [](NotesMgr& m) { retitle(m, u"Ours"); });
    const std::string theirs = save("theirs.nte", [](NotesMgr& m) {
        retitle(m, u"Theirs");
        m.AddNode(1, 2, 0, u"Amex", {}, {}, NoteTimestamp{});
    });

    ProgramResult r = RunSealbook({"merge", base, ours, theirs}, env);
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(
        r.out.find(
            "Conflicts:\n  Untitled / Cards / Ours: Title: \"Ours\" here, \"Theirs\" in the other copy"),
        std::string::npos)
        << r.out;
    EXPECT_TRUE(fs::exists(ours + ".bak"));
    auto merged = load(ours);
    EXPECT_TRUE(hasTitle(*merged, u"Ours") && hasTitle(*merged, u"Theirs (other copy)") &&
                hasTitle(*merged, u"Amex"));

    // No conflict, result elsewhere: OURS stays as it was.
    const std::string clean = save("clean.nte", [](NotesMgr& m) { m.dbDescription = u"described"; });
    r = RunSealbook({"merge", base, clean, theirs, "-o", path("out.nte")}, env);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(load(path("out.nte"))->dbDescription, u"described");
    EXPECT_TRUE(hasTitle(*load(path("out.nte")), u"Theirs"));
    EXPECT_FALSE(hasTitle(*load(clean), u"Theirs"));

    // Without a base another title is another note: both kept, no conflict.
    r = RunSealbook({"merge", "--two-way", path("ours.nte.bak"), theirs, "-o", path("two.nte")}, env);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(hasTitle(*load(path("two.nte")), u"Ours") && hasTitle(*load(path("two.nte")), u"Theirs"));
    EXPECT_EQ(r.out.rfind("Two-way merge", 0), 0u) << r.out;

    // Failures: 2, nothing written.
    r = RunSealbook({"merge", base, ours, path("missing.nte"), "-o", path("never.nte")}, env);
    EXPECT_EQ(r.status, 2);
    EXPECT_FALSE(fs::exists(path("never.nte")));
    r = RunSealbook({"merge", base, ours}, env);
    EXPECT_EQ(r.status, 2);
}

TEST_F(CliMerge, StrongFilesAmongTheThree) {
    // The base is read against both copies through a strong file's pieces too.
    const auto strong = [](NotesMgr& m) {
        m.protection = Protection::Strong;
        m.strongCosts = StrongKey::smallestCosts();
    };
    const std::string base = save("base.nte", strong);
    const std::string ours = save("ours.nte", [](NotesMgr& m) { retitle(m, u"Ours"); });
    const std::string theirs = save("theirs.nte", [&strong](NotesMgr& m) {
        strong(m);
        m.AddNode(1, 2, 0, u"Amex", {}, {}, NoteTimestamp{});
    });
    const ProgramResult r = RunSealbook({"merge", base, ours, theirs, "-o", path("out.nte")}, env);
    EXPECT_EQ(r.status, 0) << r.err;
    const auto merged = load(path("out.nte"));
    EXPECT_EQ(merged->nodes.size(), 4u);
    EXPECT_TRUE(hasTitle(*merged, u"Cards") && hasTitle(*merged, u"Ours") && hasTitle(*merged, u"Amex"));
}

TEST_F(CliMerge, OnePasswordPerFile) {
    const std::string base = save("base.nte", {}, u"one");
    const std::string ours = save("ours.nte", {}, u"two");
    const std::string theirs = save(
        "theirs.nte", [](NotesMgr& m) { retitle(m, u"New"); }, u"two");
    for (const auto& [name, text] : {std::pair{"p1", "one\n"}, {"p2", "two\r\n"}})
        std::ofstream(path(name)) << text;
    ProgramResult r = RunSealbook({"merge", base, ours, theirs}, env);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("base.nte: wrong password."), std::string::npos) << r.err;
    r = RunSealbook({"merge", "--password-file", path("p1"), "--password-file", path("p2"), base, ours,
                     theirs, "--password-file", path("p2")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(hasTitle(*load(ours, u"two"), u"New"));
    // On a terminal the file the password does not open is asked for.
    r = RunSealbookOnTerminal({"merge", base, ours, theirs, "-o", path("asked.nte")}, {"two", "one"});
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("Password of " + base), std::string::npos) << r.out;
}

TEST_F(CliMerge, ServesAsGitMergeDriver) {
    if (std::system("git --version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "no git";
    const std::string repo = path("repo");
    fs::create_directory(repo);
    const std::string git = "cd '" + repo + "' && git -c user.name=t -c user.email=t@t ";
    auto run = [&](const std::string& command) {
        return std::system((git + command + " >/dev/null 2>&1").c_str());
    };
    ASSERT_EQ(run("init -q -b main"), 0);
    ASSERT_EQ(run("config merge.sealbook.driver '" SEALBOOK_CLI_PROGRAM " merge %O %A %B'"), 0);
    std::ofstream(repo + "/.gitattributes") << "*.nte merge=sealbook\n";
    const std::string file = repo + "/notes.nte";
    fs::copy_file(save("base.nte"), file);
    ASSERT_EQ(run("add . && " + git + "commit -qm base"), 0);
    ASSERT_EQ(run("checkout -qb other"), 0);
    fs::copy_file(save("t.nte", [](NotesMgr& m) { m.AddNode(1, 2, 0, u"Theirs", {}, {}, NoteTimestamp{}); }),
                  file, fs::copy_options::overwrite_existing);
    ASSERT_EQ(run("commit -qam theirs && " + git + "checkout -q main"), 0);
    fs::copy_file(save("o.nte", [](NotesMgr& m) { m.AddNode(1, 2, 0, u"Ours", {}, {}, NoteTimestamp{}); }),
                  file, fs::copy_options::overwrite_existing);
    ASSERT_EQ(run("commit -qam ours"), 0);
    setenv("SEALBOOK_PASSWORD", "pw", 1);
    EXPECT_EQ(run("merge -q other -m merged"), 0);
    unsetenv("SEALBOOK_PASSWORD");
    const auto merged = load(file);
    EXPECT_TRUE(hasTitle(*merged, u"Ours") && hasTitle(*merged, u"Theirs"));
}
