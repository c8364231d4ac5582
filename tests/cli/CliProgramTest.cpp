// The built program end to end, on database files made by core.

#include "cli/JsonMapping.h"
#include "core/FileError.h"
#include "core/NotesMgr.h"
#include "core/TreeOps.h"

#include "RunProgram.h"
#include "SampleDatabase.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

const std::map<std::string, std::string> kSecret = {{"SEALBOOK_PASSWORD", "p\xC3\xA4ss w\xC3\xB6rd"}};

class CliProgram : public ::testing::Test {
protected:
    TempDir dir;

    std::string path(const std::string& name) const { return (dir.path() / name).string(); }

    std::string saveSample(const std::string& name, const std::u16string& password) {
        NotesMgr mgr(nullptr);
        FillSampleDatabase(mgr);
        mgr.password = password;
        mgr.Save(path(name));
        return path(name);
    }

    static std::string readFile(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    static void writeFile(const std::string& p, const std::string& text) {
        std::ofstream(p, std::ios::binary) << text;
    }

    // A failure: the status, nothing on standard output, exactly one line on standard error.
    static void expectOneLineFailure(const ProgramResult& r, int status, const std::string& containing) {
        EXPECT_EQ(r.status, status) << r.err;
        EXPECT_EQ(r.out, "");
        ASSERT_FALSE(r.err.empty());
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
        EXPECT_NE(r.err.find(containing), std::string::npos) << r.err;
    }
};

TEST_F(CliProgram, ExportImportExportIsTheSame) {
    const std::string db = saveSample("sample.nte", u"p\u00e4ss w\u00f6rd");
    const auto first = RunSealbook({"export", db}, kSecret);
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.err, "");
    writeFile(path("first.json"), first.out);

    const auto imported = RunSealbook({"import", path("first.json"), path("copy.nte")}, kSecret);
    ASSERT_EQ(imported.status, 0) << imported.err;
    const auto second = RunSealbook({"export", path("copy.nte")}, kSecret);
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(second.out, first.out);

    // The copy holds the same records as the original, field for field.
    NotesMgr original(nullptr), copy(nullptr);
    original.password = copy.password = u"p\u00e4ss w\u00f6rd";
    original.Load(db);
    copy.Load(path("copy.nte"));
    EXPECT_EQ(copy.nodes, original.nodes);
    EXPECT_EQ(copy.templates, original.templates);
    EXPECT_EQ(copy.dbTitle, original.dbTitle);
    EXPECT_EQ(copy.dbDescription, original.dbDescription);
    EXPECT_EQ(copy.nextNodeId, original.nextNodeId);
    EXPECT_EQ(copy.nextTemplateId, original.nextTemplateId);
}

TEST_F(CliProgram, AttachmentFolderRoundTripAndStdinImport) {
    const std::string db = saveSample("sample.nte", u"");
    const auto base64 = RunSealbook({"export", db});
    ASSERT_EQ(base64.status, 0) << base64.err;

    const auto withFiles = RunSealbook({"export", db, "--attachments", path("att")});
    ASSERT_EQ(withFiles.status, 0) << withFiles.err;
    const Json json = Json::parse(withFiles.out);
    EXPECT_EQ(json["nodes"][3]["attachmentFile"], "scan \xC3\xA9.png");
    EXPECT_FALSE(json["nodes"][3].contains("attachmentData"));
    EXPECT_EQ(readFile(path("att/scan \xC3\xA9.png")).size(), 1000u);

    // Read from standard input, attachments from the folder.
    const auto imported =
        RunSealbook({"import", "-", path("copy.nte"), "--attachments", path("att")}, {}, withFiles.out);
    ASSERT_EQ(imported.status, 0) << imported.err;
    const auto again = RunSealbook({"export", path("copy.nte")});
    EXPECT_EQ(again.out, base64.out);
}

TEST_F(CliProgram, HostileAttachmentNamesStayInTheFolder) {
    NotesMgr mgr(nullptr);
    NewDatabase(mgr);
    const char16_t* names[] = {u"../x", u"/etc/x", u"..", u"sub/../../y"};
    for (const char16_t* name : names) {
        const int32_t id = mgr.AddNode(0, 0, 0, name, u"", u"", NoteTimestamp::now());
        mgr.FindNode(id)->attachmentName = name;
        mgr.FindNode(id)->setAttachment({'d', 'a', 't', 'a'});
    }
    mgr.Save(path("hostile.nte"));
    fs::create_directory(path("out"));
    writeFile(path("out/y"), "mine");

    const auto r = RunSealbook({"export", path("hostile.nte"), "--attachments", path("out")});
    ASSERT_EQ(r.status, 0) << r.err;
    const Json json = Json::parse(r.out);
    std::vector<std::string> files;
    for (const auto& node : json["nodes"]) {
        if (node.contains("attachmentFile"))
            files.push_back(node["attachmentFile"]);
    }
    EXPECT_EQ(files, (std::vector<std::string>{"x", "x (2)", "attachment", "y (2)"}));
    EXPECT_EQ(readFile(path("out/y")), "mine");
    EXPECT_FALSE(fs::exists(path("x")));
    EXPECT_FALSE(fs::exists(path("y")));
    size_t count = 0;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        count += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(count, 1u); // only hostile.nte beside the folder
}

TEST_F(CliProgram, WrongPasswordAndMissingFiles) {
    const std::string db = saveSample("sample.nte", u"right");
    for (const char* command : {"ls", "export", "verify"}) {
        expectOneLineFailure(RunSealbook({command, db}, {{"SEALBOOK_PASSWORD", "wrong"}}), 2,
                             "wrong password");
        // No password at all is a wrong password too.
        expectOneLineFailure(RunSealbook({command, db}), 2, "wrong password");
    }
    expectOneLineFailure(RunSealbook({"ls", path("missing.nte")}), 1, "missing.nte was not found.");
    expectOneLineFailure(RunSealbook({"ls", db, "--password-file", path("nofile")}), 1,
                         "nofile was not found.");
    // Not a database at all.
    writeFile(path("junk.nte"), "hello");
    EXPECT_EQ(RunSealbook({"verify", path("junk.nte")}).status != 0, true);

    writeFile(path("pw"), "right\n");
    const auto ok = RunSealbook({"verify", db, "--password-file", path("pw")});
    EXPECT_EQ(ok.status, 0) << ok.err;
}

TEST_F(CliProgram, FileErrorLinesStartWithThePath) {
    const std::string db = saveSample("sample.nte", u"");
    const std::string whole = readFile(db);
    writeFile(path("short.nte"), whole.substr(0, whole.size() / 2));
    writeFile(path("junk.nte"), "hello");
    struct Case {
        const char* name;
        std::string file;
        std::string line;
    };
    const Case cases[] = {
        {"not a database", path("junk.nte"), path("junk.nte") + ": Unexpected file format."},
        {"cut short", path("short.nte"),
         path("short.nte") + ": An attempt was made to access " + path("short.nte") + " past its end."},
        {"missing", path("missing.nte"), path("missing.nte") + " was not found."},
    };
    for (const Case& c : cases) {
        for (const char* command : {"ls", "export"}) {
            SCOPED_TRACE(std::string(c.name) + " " + command);
            const auto r = RunSealbook({command, c.file});
            EXPECT_EQ(r.status, 1);
            EXPECT_EQ(r.err, c.line + "\n");
        }
    }
}

TEST_F(CliProgram, LsOrdersFoldersFirstThenTitlesIgnoringCase) {
    NotesMgr mgr(nullptr);
    NewDatabase(mgr);
    const auto now = NoteTimestamp::now();
    mgr.AddNode(0, 0, 0, u"beta", u"", u"", now);
    mgr.AddNode(0, 0, 0, u"Alpha", u"", u"", now);
    const int32_t zeta = mgr.AddNode(0, 0, 1, u"zeta", u"", u"", now);
    mgr.AddNode(0, 0, 1, u"Delta", u"", u"", now);
    mgr.AddNode(zeta, 0, 0, u"\u00e9t\u00e9", u"", u"", now);
    mgr.AddNode(zeta, 0, 0, u"\u00c9T\u00c9 2", u"", u"", now);
    mgr.AddNode(zeta, 0, 0, u"_under", u"", u"", now);
    mgr.AddNode(zeta, 0, 0, u"same", u"", u"", now);
    mgr.AddNode(zeta, 0, 0, u"SAME", u"", u"", now);
    mgr.Save(path("order.nte"));

    const auto r = RunSealbook({"ls", path("order.nte")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Untitled/  [0]\n"
                     "  Delta/  [4]\n"
                     "  zeta/  [3]\n"
                     "    _under  [7]\n"
                     "    same  [8]\n"
                     "    SAME  [9]\n"
                     "    \xC3\xA9t\xC3\xA9  [5]\n"
                     "    \xC3\x89T\xC3\x89 2  [6]\n"
                     "  Alpha  [2]\n"
                     "  beta  [1]\n"
                     "protection: compatible\n");
}

TEST_F(CliProgram, PasswdChangesTheKeyAndKeepsTheBackup) {
    const std::string db = saveSample("sample.nte", u"old");
    const auto r =
        RunSealbook({"passwd", db}, {{"SEALBOOK_PASSWORD", "old"}, {"SEALBOOK_NEW_PASSWORD", "n\xC3\xAAw"}});
    ASSERT_EQ(r.status, 0) << r.err;

    NotesMgr reloaded(nullptr);
    reloaded.password = u"n\u00eaw";
    EXPECT_NO_THROW(reloaded.Load(db));
    EXPECT_EQ(reloaded.nodes.size(), 6u);
    NotesMgr stale(nullptr);
    stale.password = u"old";
    EXPECT_THROW(stale.Load(db), WrongPasswordError);
    EXPECT_NO_THROW(stale.Load(db + ".bak"));

    // From a file; then no new password from anywhere is refused, not taken as "none".
    writeFile(path("newpw"), "third\r\n");
    EXPECT_EQ(RunSealbook({"passwd", db, "--new-password-file", path("newpw")},
                          {{"SEALBOOK_PASSWORD", "n\xC3\xAAw"}})
                  .status,
              0);
    expectOneLineFailure(RunSealbook({"passwd", db}, {{"SEALBOOK_PASSWORD", "third"}}), 1, "No new password");
    EXPECT_EQ(RunSealbook({"verify", db}, {{"SEALBOOK_PASSWORD", "third"}}).status, 0);
    // A wrong old password changes nothing.
    expectOneLineFailure(
        RunSealbook({"passwd", db}, {{"SEALBOOK_PASSWORD", "x"}, {"SEALBOOK_NEW_PASSWORD", "y"}}), 2,
        "wrong password");
    EXPECT_EQ(RunSealbook({"verify", db}, {{"SEALBOOK_PASSWORD", "third"}}).status, 0);
}

TEST_F(CliProgram, ShowPrintsFieldsAttachmentAndBody) {
    const std::string db = saveSample("sample.nte", u"");
    const auto visa = RunSealbook({"show", db, "3"});
    ASSERT_EQ(visa.status, 0) << visa.err;
    EXPECT_NE(visa.out.find("Title: Visa \xC3\x89lite\n"), std::string::npos) << visa.out;
    EXPECT_NE(visa.out.find("Account Type: Credit card\n"), std::string::npos);
    EXPECT_NE(visa.out.find("Card number: 4111 1111\n"), std::string::npos);
    EXPECT_NE(visa.out.find("PIN: \n"), std::string::npos); // an empty value under a caption still shows
    EXPECT_NE(visa.out.find("Attachment: scan \xC3\xA9.png (1000 bytes)\n"), std::string::npos);

    // Only the template's non-empty captions are listed.
    const auto locker = RunSealbook({"show", db, "4"});
    ASSERT_EQ(locker.status, 0) << locker.err;
    EXPECT_EQ(locker.out, "Title: alpha\nAccount Type: Locker\nNumber: 17\nCode: 0000\nFloor: 3rd\n"
                          "Attachment: empty.txt (0 bytes)\n\nplain text body\nsecond line\n");
    EXPECT_EQ(locker.out.find("hidden"), std::string::npos);

    const auto body = RunSealbook({"show", db, "4", "--body"});
    EXPECT_EQ(body.out, "plain text body\nsecond line\n");
    const auto raw = RunSealbook({"show", db, "3", "--rtf"});
    EXPECT_EQ(raw.out, "{\\rtf1\\ansi Card {\\b kept} here\\par}");
#if SEALBOOK_CLI_HAVE_RTF
    const auto plain = RunSealbook({"show", db, "3", "--body"});
    EXPECT_EQ(plain.out, "Card kept here\n");
#endif

    // --conceal hides the secret fields' values (the CVC) and leaves the rest.
    const auto concealed = RunSealbook({"show", db, "3", "--conceal"});
    EXPECT_NE(concealed.out.find("CVC: \u2022\u2022\u2022\u2022\u2022\u2022\u2022\u2022\n"),
              std::string::npos)
        << concealed.out;
    EXPECT_NE(concealed.out.find("Card number: 4111 1111\n"), std::string::npos);
    EXPECT_NE(concealed.out.find("PIN: \n"), std::string::npos);
    EXPECT_NE(visa.out.find("CVC: 123\n"), std::string::npos);

    // A stale template id shows "No Data" and no captions.
    const auto stale = RunSealbook({"show", db, "5"});
    EXPECT_NE(stale.out.find("Account Type: No Data\n"), std::string::npos) << stale.out;

    expectOneLineFailure(RunSealbook({"show", db, "77"}), 1, "no node with id 77");
    expectOneLineFailure(RunSealbook({"show", db, "3x"}), 1, "'3x' is not a node id.");
}

TEST_F(CliProgram, ShowsBodiesLongerThanAReadPieceWhole) {
    // Bodies are taken in pieces of some thousands of characters while the
    // file is read; lines here run across every boundary.
    std::u16string rtfBody = u"{\\rtf1\\ansi ";
    std::u16string plainBody;
    std::string rtfText, plainText;
    for (int i = 0; i < 4000; ++i) {
        const std::string n = std::to_string(i);
        rtfBody += std::u16string(n.begin(), n.end()) + u" caf\\'e9 \\u1055?\\line ";
        rtfText += n + " caf\xC3\xA9 \xD0\x9F\n";
        plainBody += std::u16string(n.begin(), n.end()) + u" \u041f\U0001F511\r\n";
        plainText += n + " \xD0\x9F\xF0\x9F\x94\x91\n";
    }
    rtfBody += u"end}";
    rtfText += "end\n";
    NotesMgr mgr(nullptr);
    NewDatabase(mgr);
    const int32_t rtfNote = mgr.AddNode(0, 16, 0, u"rtf", rtfBody, u"", NoteTimestamp::now());
    const int32_t plainNote = mgr.AddNode(0, 16, 0, u"plain", plainBody, u"", NoteTimestamp::now());
    mgr.Save(path("long.nte"));

    const auto plain = RunSealbook({"show", path("long.nte"), std::to_string(plainNote), "--body"});
    EXPECT_EQ(plain.out, plainText);
#if SEALBOOK_CLI_HAVE_RTF
    const auto rtf = RunSealbook({"show", path("long.nte"), std::to_string(rtfNote), "--body"});
    EXPECT_EQ(rtf.out, rtfText);
    const auto full = RunSealbook({"show", path("long.nte"), std::to_string(rtfNote)});
    EXPECT_EQ(full.out, "Title: rtf\nAccount Type: None\n\n" + rtfText);
#endif
}

TEST_F(CliProgram, VerifyCountsAndImportRefusals) {
    const std::string db = saveSample("sample.nte", u"");
    const auto v = RunSealbook({"verify", db});
    ASSERT_EQ(v.status, 0) << v.err;
    EXPECT_EQ(v.out, "nodes: 6\nfolders: 2\nnotes: 3\ntemplates: 17\nattachments: 1\nattachment bytes: 1000\n"
                     "protection: compatible\n");

    writeFile(path("bad.json"), "{\"dbTitle\": ");
    expectOneLineFailure(RunSealbook({"import", path("bad.json"), path("out.nte")}), 1,
                         "bad.json is not valid JSON");
    const auto exported = RunSealbook({"export", db});
    Json json = Json::parse(exported.out);
    json["nodes"][2]["parentId"] = 3;
    writeFile(path("tree.json"), json.dump());
    expectOneLineFailure(RunSealbook({"import", path("tree.json"), path("out.nte")}), 1,
                         "Node 2 has parent 3, which is not a folder.");
    EXPECT_FALSE(fs::exists(path("out.nte"))); // nothing written after a refusal

    expectOneLineFailure(RunSealbook({"import", path("nothere.json"), path("out.nte")}), 1, "was not found");
}

TEST_F(CliProgram, PromptsOnATerminalWithoutEcho) {
    const std::string db = saveSample("sample.nte", u"t\u00f6p secret");
    const auto r = RunSealbookOnTerminal({"verify", db}, {"t\xC3\xB6p secret"});
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out.rfind("Password: ", 0), 0u) << r.out;
    EXPECT_EQ(r.out.find("secret"), std::string::npos) << r.out; // not echoed
    EXPECT_NE(r.out.find("nodes: 6"), std::string::npos) << r.out;

    EXPECT_EQ(RunSealbookOnTerminal({"verify", db}, {"guess"}).status, 2);

    // passwd asks for the new password twice; a mismatch changes nothing.
    const auto mismatch = RunSealbookOnTerminal({"passwd", db}, {"t\xC3\xB6p secret", "one", "two"});
    EXPECT_EQ(mismatch.status, 1);
    EXPECT_NE(mismatch.out.find("The password confirmation does not match."), std::string::npos)
        << mismatch.out;
    const auto changed = RunSealbookOnTerminal({"passwd", db}, {"t\xC3\xB6p secret", "fresh", "fresh"});
    EXPECT_EQ(changed.status, 0) << changed.out;
    EXPECT_NE(changed.out.find("Repeat new password: "), std::string::npos) << changed.out;
    EXPECT_EQ(RunSealbook({"verify", db}, {{"SEALBOOK_PASSWORD", "fresh"}}).status, 0);
}

TEST_F(CliProgram, UsageAndBadArguments) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{}, {"--help"}, {"ls", "-h"}}) {
        const auto r = RunSealbook(args);
        EXPECT_EQ(r.status, 0);
        EXPECT_NE(r.out.find("Usage: sealbook"), std::string::npos);
    }
    const auto version = RunSealbook({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "sealbook (Marrowick Sealbook) " SEALBOOK_VERSION "\n");
    expectOneLineFailure(RunSealbook({"lst", "x"}), 1, "Unknown command 'lst'");
    expectOneLineFailure(RunSealbook({"show", "x"}), 1, "'show' expects FILE ID");
}

} // namespace

TEST_F(CliProgram, StrongFilesThroughPasswdVerifyAndLs) {
    NotesMgr mgr(nullptr);
    FillSampleDatabase(mgr);
    mgr.password = u"old";
    mgr.protection = Protection::Strong;
    mgr.strongCosts = StrongKey::smallestCosts(); // passwd keeps a strong file's costs
    // More than one piece, so that damage after the first is told from a wrong password.
    for (auto& [id, node] : mgr.nodes) {
        if (node.attachmentSize > 0)
            node.setAttachment(std::vector<uint8_t>(100000, 'a'));
    }
    const std::string db = path("strong.nte");
    mgr.Save(db);
    const std::map<std::string, std::string> old = {{"SEALBOOK_PASSWORD", "old"}};

    const auto v = RunSealbook({"verify", db}, old);
    ASSERT_EQ(v.status, 0) << v.err;
    EXPECT_TRUE(v.out.ends_with("attachment bytes: 100000\nprotection: strong\n")) << v.out;
    EXPECT_TRUE(RunSealbook({"ls", db}, old).out.ends_with("]\nprotection: strong\n"));

    // A new password keeps the kind; an empty one is refused for a strong file.
    ASSERT_EQ(
        RunSealbook({"passwd", db}, {{"SEALBOOK_PASSWORD", "old"}, {"SEALBOOK_NEW_PASSWORD", "new"}}).status,
        0);
    writeFile(path("empty"), "\n");
    expectOneLineFailure(
        RunSealbook({"passwd", db, "--new-password-file", path("empty")}, {{"SEALBOOK_PASSWORD", "new"}}), 1,
        "Strong protection needs a password.");
    const std::map<std::string, std::string> fresh = {{"SEALBOOK_PASSWORD", "new"}};
    EXPECT_TRUE(RunSealbook({"verify", db}, fresh).out.ends_with("protection: strong\n"));

    ASSERT_EQ(RunSealbook({"passwd", db, "--compatible"},
                          {{"SEALBOOK_PASSWORD", "new"}, {"SEALBOOK_NEW_PASSWORD", "new"}})
                  .status,
              0);
    EXPECT_TRUE(RunSealbook({"verify", db}, fresh).out.ends_with("protection: compatible\n"));
    EXPECT_TRUE(RunSealbook({"verify", db + ".bak"}, fresh).out.ends_with("protection: strong\n"));

    // Verify reads every piece: a change near the end is damage.
    std::string damaged = readFile(db + ".bak");
    damaged[damaged.size() - 3] ^= 0x40;
    writeFile(path("damaged.nte"), damaged);
    expectOneLineFailure(RunSealbook({"verify", path("damaged.nte")}, fresh), 1,
                         "The file is damaged or was changed by someone else.");

    expectOneLineFailure(RunSealbook({"passwd", db, "--strong", "--compatible"}, fresh), 1,
                         "Give either --strong or --compatible, not both.");
    expectOneLineFailure(RunSealbook({"verify", db, "--strong"}, fresh), 1, "does not apply");
}
