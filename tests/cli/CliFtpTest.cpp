// "sealbook ftp" end to end: the built program against a real local server.

#include "RunProgram.h"
#include "ftp/client/FtpTexts.h"
#include "tests/support/FtpTestServer.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

std::vector<std::string> serverArgs(const FtpTestServer& server, std::vector<std::string> tail) {
    std::vector<std::string> args = {"ftp",
                                     "--host",
                                     "127.0.0.1",
                                     "--port",
                                     std::to_string(server.port()),
                                     "--user",
                                     FtpTestServer::kUser};
    args.insert(args.end(), tail.begin(), tail.end());
    return args;
}

const std::map<std::string, std::string> kPassword = {{"SEALBOOK_FTP_PASSWORD", FtpTestServer::kPassword}};

TEST(CliFtp, EveryVerbWithItsBackups) {
    FtpTestServer server;
    ScratchDir local;
    fs::create_directory(server.root() / "backups");
    WriteFileBytes(server.root() / "backups" / "notes.nte", "server copy");
    WriteFileBytes(local.path() / "notes.nte", "local copy");
    const std::string folder = "--directory=/backups/"; // one trailing separator is dropped

    auto r =
        RunSealbook(serverArgs(server, {folder, "upload", (local.path() / "notes.nte").string()}), kPassword);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFileBytes(server.root() / "backups" / "notes.nte"), "local copy");
    EXPECT_EQ(ReadFileBytes(server.root() / "backups" / "notes_old.nte"), "server copy");

    r = RunSealbook(serverArgs(server, {folder, "rename", "notes_old.nte", "last week"}), kPassword);
    ASSERT_EQ(r.status, 0) << r.err;
    r = RunSealbook(serverArgs(server, {folder, "list"}), kPassword);
    ASSERT_EQ(r.status, 0) << r.err;
    // name, size in bytes, time; sorted by name.
    EXPECT_TRUE(r.out.starts_with("last_week.nte\t11\t20")) << r.out;
    EXPECT_NE(r.out.find("\nnotes.nte\t10\t20"), std::string::npos) << r.out;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 2);

    // The password from a file; download over a local file keeps it as _old.
    WriteFileBytes(local.path() / "pw.txt", std::string(FtpTestServer::kPassword) + "\r\n");
    r = RunSealbook(serverArgs(server, {folder, "--password-file", (local.path() / "pw.txt").string(),
                                        "download", "last_week.nte", (local.path() / "notes.nte").string()}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFileBytes(local.path() / "notes.nte"), "server copy");
    EXPECT_EQ(ReadFileBytes(local.path() / "notes_old.nte"), "local copy");

    r = RunSealbook(serverArgs(server, {folder, "delete", "last_week.nte"}), kPassword);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(fs::exists(server.root() / "backups" / "last_week.nte"));
}

TEST(CliFtp, FailuresExitOneWithTheMessage) {
    FtpTestServer server;
    ScratchDir local;
    WriteFileBytes(local.path() / "my notes.nte", "x");
    struct Case {
        std::vector<std::string> args;
        std::map<std::string, std::string> env;
        std::string message;
    };
    const std::vector<Case> cases = {
        {serverArgs(server, {"list"}), {{"SEALBOOK_FTP_PASSWORD", "wrong"}}, FtpTexts::connectFailed},
        {serverArgs(server, {"list"}), kPassword, FtpTexts::listFailed},
        {serverArgs(server, {"--directory", "/missing", "list"}), kPassword, FtpTexts::listFailed},
        {serverArgs(server, {"upload", (local.path() / "my notes.nte").string()}), kPassword,
         FtpTexts::nameHasSpaces},
        {serverArgs(server, {"download", "a.nte", (local.path() / "a copy.nte").string()}), kPassword,
         FtpTexts::nameHasSpaces},
        {serverArgs(server, {"download", "missing.nte", (local.path() / "m.nte").string()}), kPassword,
         FtpTexts::downloadFailed},
        {serverArgs(server, {"delete", "missing.nte"}), kPassword, FtpTexts::deleteFailed},
        {serverArgs(server, {"rename", "missing.nte", "x"}), kPassword, FtpTexts::renameFailed},
        {serverArgs(server, {"--tls", "list"}), kPassword, FtpTexts::connectFailed},
        {serverArgs(server, {"--port", "21x", "list"}), kPassword, "'21x' is not a port number."},
        {serverArgs(server, {"copy"}), kPassword, "Unknown ftp command 'copy'"},
        {{"ftp", "list"}, kPassword, "'ftp' needs --host."},
        {{"ls", "--tls", "x.nte"}, {}, "Option '--tls' does not apply to 'ls'."},
    };
    for (const Case& c : cases) {
        const ProgramResult r = RunSealbook(c.args, c.env);
        EXPECT_EQ(r.status, 1) << c.message;
        EXPECT_EQ(r.out, "");
        EXPECT_TRUE(r.err.starts_with(c.message)) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    EXPECT_EQ(fs::directory_iterator(local.path())->path().filename(), "my notes.nte");
}

TEST(CliFtp, AnonymousListing) {
    FtpTestServer server;
    WriteFileBytes(server.anonymousRoot() / "public.nte", "1234");
    const auto r = RunSealbook(serverArgs(server, {"--anonymous", "--active", "list"}), kPassword);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with("public.nte\t4\t")) << r.out;
    EXPECT_EQ(server.loginLog().find(FtpTestServer::kPassword), std::string::npos);
}

} // namespace
