// "sealbook ftp" end to end: the built program against a real local server.

#include "RunProgram.h"
#include "ftp/client/FtpTexts.h"
#include "ftp/client/RemotePaths.h"
#include "tests/support/FtpTestServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <thread>
#include <utime.h>

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
    const std::string localCopy = DatabaseBytes(4, 0) + "local copy";
    WriteFileBytes(local.path() / "notes.nte", localCopy);
    const std::string folder = "--directory=/backups/"; // one trailing separator is dropped

    auto r =
        RunSealbook(serverArgs(server, {folder, "upload", (local.path() / "notes.nte").string()}), kPassword);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFileBytes(server.root() / "backups" / "notes.nte"), localCopy);
    EXPECT_EQ(ReadFileBytes(server.root() / "backups" / "notes_old.nte"), "server copy");

    r = RunSealbook(serverArgs(server, {folder, "rename", "notes_old.nte", "last week"}), kPassword);
    ASSERT_EQ(r.status, 0) << r.err;
    r = RunSealbook(serverArgs(server, {folder, "list"}), kPassword);
    ASSERT_EQ(r.status, 0) << r.err;
    // name, size in bytes, time; sorted by name.
    EXPECT_TRUE(r.out.starts_with("last_week.nte\t11\t20")) << r.out;
    EXPECT_NE(r.out.find("\nnotes.nte\t14\t20"), std::string::npos) << r.out;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 2);

    // The password from a file; download over a local file keeps it as _old.
    WriteFileBytes(local.path() / "pw.txt", std::string(FtpTestServer::kPassword) + "\r\n");
    r = RunSealbook(serverArgs(server, {folder, "--password-file", (local.path() / "pw.txt").string(),
                                        "download", "last_week.nte", (local.path() / "notes.nte").string()}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFileBytes(local.path() / "notes.nte"), "server copy");
    EXPECT_EQ(ReadFileBytes(local.path() / "notes_old.nte"), localCopy);

    r = RunSealbook(serverArgs(server, {folder, "delete", "last_week.nte"}), kPassword);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(fs::exists(server.root() / "backups" / "last_week.nte"));
}

TEST(CliFtp, FailuresExitOneWithTheMessage) {
    FtpTestServer server;
    ScratchDir local;
    WriteFileBytes(local.path() / "my notes.nte", "x");
    WriteFileBytes(local.path() / ".hidden.nte", DatabaseBytes(10, 1));
    // What `sealbook export` writes: every secret in plain text.
    WriteFileBytes(local.path() / "export.nte", "{\"dbTitle\": \"Cards\", \"nodes\": []}");
    struct Case {
        std::vector<std::string> args;
        std::map<std::string, std::string> env;
        std::string message;
    };
    const std::vector<Case> cases = {
        {serverArgs(server, {"list"}),
         {{"SEALBOOK_FTP_PASSWORD", "wrong"}},
         std::string(FtpTexts::connectFailed) + " (Access denied"},
        {serverArgs(server, {"--directory", "/missing", "list"}), kPassword, FtpTexts::listFailed},
        {serverArgs(server, {"upload", (local.path() / "my notes.nte").string()}), kPassword,
         FtpTexts::nameHasSpaces},
        {serverArgs(server, {"download", "a.nte", (local.path() / "a copy.nte").string()}), kPassword,
         FtpTexts::nameHasSpaces},
        {serverArgs(server, {"download", "missing.nte", (local.path() / "m.nte").string()}), kPassword,
         FtpTexts::downloadFailed},
        {serverArgs(server, {"delete", "missing.nte"}), kPassword, FtpTexts::deleteFailed},
        {serverArgs(server, {"rename", "missing.nte", "x"}), kPassword, FtpTexts::renameFailed},
        // Names are file names of the folder, never paths.
        {serverArgs(server, {"rename", "a.nte", "../escaped"}), kPassword, FtpTexts::nameNotPlain},
        {serverArgs(server, {"rename", "../a.nte", "b"}), kPassword, FtpTexts::nameNotPlain},
        {serverArgs(server, {"download", "sub/a.nte"}), kPassword, FtpTexts::nameNotPlain},
        {serverArgs(server, {"delete", ".."}), kPassword, FtpTexts::nameNotPlain},
        {serverArgs(server, {"delete", "a\\b.nte"}), kPassword, FtpTexts::nameNotPlain},
        {serverArgs(server, {"upload", (local.path() / ".hidden.nte").string()}), kPassword,
         FtpTexts::nameNotPlain},
        {serverArgs(server, {"upload", (local.path() / "export.nte").string()}), kPassword,
         WithName(FtpTexts::notADatabase, "export.nte")},
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
    EXPECT_EQ(std::distance(fs::directory_iterator(local.path()), fs::directory_iterator()), 3);
    EXPECT_TRUE(fs::is_empty(server.root())) << "nothing was sent";
}

// An empty folder lists as nothing; a rename onto an existing name, and a
// temporary file younger than ten minutes, are left alone.
TEST(CliFtp, EmptyListRefusedRenameCleanAndHelp) {
    FtpTestServer server;
    auto r = RunSealbook(serverArgs(server, {"list"}), kPassword);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");

    WriteFileBytes(server.root() / "a.nte", "a");
    WriteFileBytes(server.root() / "b.nte", "b");
    r = RunSealbook(serverArgs(server, {"rename", "a.nte", "b"}), kPassword);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.starts_with(WithName(FtpTexts::nameTaken, "b.nte"))) << r.err;
    EXPECT_EQ(ReadFileBytes(server.root() / "a.nte"), "a");
    EXPECT_EQ(ReadFileBytes(server.root() / "b.nte"), "b");

    const std::time_t old = std::time(nullptr) - 11 * 60;
    const struct utimbuf aged { old, old };
    for (const char* name : {"a.nte.part-0123abcd", "b.nte.part-89abcdef"})
        WriteFileBytes(server.root() / name, "cut");
    utime((server.root() / "a.nte.part-0123abcd").c_str(), &aged);
    r = RunSealbook(serverArgs(server, {"clean"}), kPassword);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "a.nte.part-0123abcd\n");
    EXPECT_FALSE(fs::exists(server.root() / "a.nte.part-0123abcd"));
    EXPECT_TRUE(fs::exists(server.root() / "b.nte.part-89abcdef"));
    EXPECT_EQ(std::distance(fs::directory_iterator(server.root()), fs::directory_iterator()), 3)
        << "the clock probe is gone too";

    // Without LOCAL the file lands in the current folder.
    ScratchDir here;
    r = RunSealbookIn(here.path().string(), serverArgs(server, {"download", "b.nte"}), kPassword);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFileBytes(here.path() / "b.nte"), "b");

    r = RunSealbook({"ftp", "--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.starts_with("Usage: sealbook ftp")) << r.out;
    for (const char* part : {"clean", "--host", "SEALBOOK_FTP_PASSWORD", "Exit status", "143"})
        EXPECT_NE(r.out.find(part), std::string::npos) << part;
}

// SIGINT and SIGTERM stop a transfer with nothing left half-written.
TEST(CliFtp, SignalsStopTransfers) {
    FtpServerOptions options;
    options.throttle = 256 * 1024;
    FtpTestServer server(options);
    ScratchDir local;
    const std::string serverCopy = DatabaseBytes(4'000'000, 1), localCopy = DatabaseBytes(4'000'000, 2);
    WriteFileBytes(server.root() / "notes.nte", serverCopy);
    WriteFileBytes(local.path() / "notes.nte", localCopy);
    struct Case {
        std::vector<std::string> args;
        int signal;
        fs::path growing; // the folder where the transfer's temporary file appears
    };
    const std::string localFile = (local.path() / "notes.nte").string();
    const std::vector<Case> cases = {
        {serverArgs(server, {"upload", localFile}), SIGINT, server.root()},
        {serverArgs(server, {"download", "notes.nte", localFile}), SIGTERM, local.path()},
    };
    for (const Case& c : cases) {
        const auto r = RunSealbookIn({}, c.args, kPassword, [&](int pid) {
            // Signalled once the transfer has started.
            for (int i = 0; i < 500 && std::distance(fs::directory_iterator(c.growing), {}) < 2; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            kill(pid, c.signal);
        });
        EXPECT_EQ(r.status, 128 + c.signal) << r.err;
        EXPECT_EQ(r.err, std::string(FtpTexts::stopped) + "\n");
        EXPECT_EQ(std::distance(fs::directory_iterator(server.root()), {}), 1);
        EXPECT_EQ(std::distance(fs::directory_iterator(local.path()), {}), 1);
        EXPECT_TRUE(ReadFileBytes(server.root() / "notes.nte") == serverCopy);
        EXPECT_TRUE(ReadFileBytes(local.path() / "notes.nte") == localCopy);
    }
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
