// The FTP client against a real server on 127.0.0.1.

#include "ftp/client/FtpSession.h"
#include "ftp/client/FtpTexts.h"
#include "ftp/client/RemotePaths.h"
#include "tests/support/FtpTestServer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <ctime>
#include <functional>
#include <map>
#include <utime.h>

namespace fs = std::filesystem;

namespace {

// Every file of a folder with its bytes, to compare a side before and after.
std::map<std::string, std::string> snapshot(const fs::path& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(dir))
        files[entry.path().filename().string()] =
            entry.is_regular_file() ? ReadFileBytes(entry.path()) : "<dir>";
    return files;
}

std::vector<std::string> names(const std::vector<FtpFileInfo>& files) {
    std::vector<std::string> out;
    for (const auto& f : files)
        out.push_back(f.name);
    return out;
}

class FtpModes : public ::testing::TestWithParam<std::tuple<bool, bool>> {};

// Passive and active, with and without machine-readable listings: listing,
// upload with its backup and download with its backup all behave alike.
TEST_P(FtpModes, ListUploadDownloadKeepBackups) {
    const auto [passive, mlsd] = GetParam();
    FtpServerOptions options;
    options.noMlsd = !mlsd;
    FtpTestServer server(options);
    const fs::path& root = server.root();
    WriteFileBytes(root / "small.nte", std::string(1023, 'a'));
    WriteFileBytes(root / "one k.nte", std::string(1024, 'b'));
    WriteFileBytes(root / "\xC4\x89"
                          "efa.nte",
                   std::string(2047, 'c'));
    WriteFileBytes(root / "readme.txt", "not listed");
    fs::create_directory(root / "folder.nte");
    const std::time_t stamp = std::time(nullptr) - 30 * 3600;
    const struct utimbuf times { stamp, stamp };
    utime((root / "small.nte").c_str(), &times);
    // A sparse file past 4 GB costs no disk.
    fs::resize_file((WriteFileBytes(root / "huge.nte", ""), root / "huge.nte"), 5'000'000'000ull);

    FtpSettings settings = server.settings();
    settings.passive = passive;
    FtpSession session(settings);
    ASSERT_TRUE(session.connect()) << session.errorDetail();
    std::vector<FtpFileInfo> files;
    ASSERT_TRUE(session.list(files)) << session.errorDetail();
    EXPECT_EQ(names(files), (std::vector<std::string>{"huge.nte", "one k.nte", "small.nte",
                                                      "\xC4\x89"
                                                      "efa.nte"}));
    EXPECT_EQ(files[0].size, 5'000'000'000ull);
    EXPECT_EQ(files[2].size, 1023u);
    EXPECT_EQ(files[2].modified, stamp);
    fs::remove(root / "huge.nte");

    // Upload over notes.nte with notes_old.nte present, on the same connection.
    WriteFileBytes(root / "notes.nte", "earlier");
    WriteFileBytes(root / "notes_old.nte", "oldest");
    ScratchDir local;
    const std::string uploaded = DatabaseBytes(4, 0) + "uploaded";
    WriteFileBytes(local.path() / "notes.nte", uploaded);
    ASSERT_TRUE(session.upload((local.path() / "notes.nte").string())) << session.errorDetail();
    EXPECT_EQ(ReadFileBytes(root / "notes.nte"), uploaded);
    EXPECT_EQ(ReadFileBytes(root / "notes_old.nte"), "earlier");

    // Download over a local notes.nte keeps it as notes_old.nte.
    WriteFileBytes(local.path() / "notes_old.nte", "local oldest");
    WriteFileBytes(root / "notes.nte", "from server");
    FtpSession second(settings);
    ASSERT_TRUE(second.connect());
    ASSERT_TRUE(second.download("notes.nte", (local.path() / "notes.nte").string())) << second.errorDetail();
    EXPECT_EQ(snapshot(local.path()), (std::map<std::string, std::string>{{"notes.nte", "from server"},
                                                                          {"notes_old.nte", uploaded}}));
    EXPECT_EQ(snapshot(root).count("notes.nte"), 1u);
    EXPECT_EQ(snapshot(root).size(), 7u) << "no temporary file is left on the server";
}

INSTANTIATE_TEST_SUITE_P(All, FtpModes, ::testing::Combine(::testing::Bool(), ::testing::Bool()));

TEST(FtpSession, FailuresCarryTheOperationsMessage) {
    FtpTestServer server;
    {
        FtpSession session(server.settings());
        ASSERT_TRUE(session.connect());
        std::vector<FtpFileInfo> files;
        EXPECT_TRUE(session.list(files)) << "an empty folder is no failure";
        EXPECT_TRUE(files.empty());
        EXPECT_FALSE(session.download("missing.nte", (server.root() / "x.nte").string()));
        EXPECT_EQ(session.errorString(), FtpTexts::downloadFailed);
        EXPECT_FALSE(fs::exists(server.root() / "x.nte"));
        EXPECT_FALSE(session.remove("missing.nte"));
        EXPECT_EQ(session.errorString(), FtpTexts::deleteFailed);
        EXPECT_FALSE(session.rename("missing.nte", "other"));
        EXPECT_EQ(session.errorString(), FtpTexts::renameFailed);
        EXPECT_FALSE(session.upload("/nonexistent/file.nte"));
        EXPECT_EQ(session.errorString(), FtpTexts::uploadFailed);
        // The session still works after failures.
        WriteFileBytes(server.root() / "a.nte", "a");
        EXPECT_TRUE(session.list(files));
    }
    FtpSettings missingFolder = server.settings();
    missingFolder.directory = "/no such folder";
    FtpSession inMissing(missingFolder);
    ASSERT_TRUE(inMissing.connect());
    std::vector<FtpFileInfo> files;
    EXPECT_FALSE(inMissing.list(files));
    EXPECT_EQ(inMissing.errorString(), FtpTexts::listFailed);

    // Refused log-in, no host, a port out of range, nobody listening.
    std::vector<FtpSettings> unreachable(4, server.settings());
    unreachable[0].password = "wrong";
    unreachable[1].host = "";
    unreachable[2].port = 70000;
    unreachable[3].port = 1;
    for (const auto& settings : unreachable) {
        FtpSession session(settings);
        EXPECT_FALSE(session.connect()) << settings.host << ":" << settings.port;
        EXPECT_EQ(session.errorString(), FtpTexts::connectFailed);
    }
}

TEST(FtpSession, AnonymousNeverSendsTheStoredLogin) {
    FtpTestServer server;
    WriteFileBytes(server.anonymousRoot() / "public.nte", "p");
    FtpSettings settings = server.settings();
    settings.anonymous = true;
    FtpSession session(settings);
    ASSERT_TRUE(session.connect());
    std::vector<FtpFileInfo> files;
    ASSERT_TRUE(session.list(files));
    EXPECT_EQ(names(files), std::vector<std::string>{"public.nte"});
    const std::string log = server.loginLog();
    EXPECT_NE(log.find("USER anonymous\nPASS anonymous\n"), std::string::npos) << log;
    EXPECT_EQ(log.find(FtpTestServer::kUser), std::string::npos) << log;
    EXPECT_EQ(log.find(FtpTestServer::kPassword), std::string::npos) << log;
}

TEST(FtpSession, DeleteAndRenameInAFolderWithSpaces) {
    FtpTestServer server;
    fs::create_directory(server.root() / "my backups");
    for (const char* name : {"a.nte", "b.nte", "c.nte", "gone.nte"})
        WriteFileBytes(server.root() / "my backups" / name, name);
    FtpSettings settings = server.settings();
    settings.directory = "/my backups";
    FtpSession session(settings);
    ASSERT_TRUE(session.connect());
    EXPECT_TRUE(session.rename("a.nte", "my notes")) << session.errorDetail();
    EXPECT_TRUE(session.rename("b.nte", "x.nte"));
    EXPECT_TRUE(session.remove("gone.nte"));
    // A name that would smuggle a second command onto the control connection is refused.
    EXPECT_FALSE(session.remove("c.nte\r\nDELE /my backups/c.nte"));
    EXPECT_EQ(snapshot(server.root() / "my backups"),
              (std::map<std::string, std::string>{
                  {"my_notes.nte", "a.nte"}, {"x.nte", "b.nte"}, {"c.nte", "c.nte"}}));
}

TEST(FtpSession, NamesWithSpacesAreRefused) {
    FtpTestServer server;
    ScratchDir local;
    WriteFileBytes(local.path() / "my notes.nte", "x");
    WriteFileBytes(server.root() / "notes.nte", "y");
    FtpSession session(server.settings());
    ASSERT_TRUE(session.connect());
    EXPECT_FALSE(session.upload((local.path() / "my notes.nte").string()));
    EXPECT_EQ(session.errorString(), FtpTexts::nameHasSpaces);
    EXPECT_FALSE(session.download("notes.nte", (local.path() / "my copy.nte").string()));
    EXPECT_EQ(session.errorString(), FtpTexts::nameHasSpaces);
    EXPECT_EQ(snapshot(local.path()).size(), 1u);
    EXPECT_EQ(snapshot(server.root()).size(), 1u);
}

// A server that drops the connection part-way leaves both sides exactly as they were.
TEST(FtpSession, CutTransfersChangeNothing) {
    FtpServerOptions options;
    options.dropAfter = 300'000;
    FtpTestServer server(options);
    WriteFileBytes(server.root() / "notes.nte", "server current");
    WriteFileBytes(server.root() / "notes_old.nte", "server previous");
    ScratchDir local;
    WriteFileBytes(local.path() / "notes.nte", DatabaseBytes(2'000'000, 1));
    WriteFileBytes(local.path() / "notes_old.nte", "local previous");
    WriteFileBytes(server.root() / "big.nte", PatternBytes(2'000'000, 2));
    const auto serverBefore = snapshot(server.root());
    const auto localBefore = snapshot(local.path());

    FtpSession up(server.settings());
    ASSERT_TRUE(up.connect());
    EXPECT_FALSE(up.upload((local.path() / "notes.nte").string()));
    EXPECT_EQ(up.errorString(), FtpTexts::uploadFailed);

    FtpSession down(server.settings());
    ASSERT_TRUE(down.connect());
    EXPECT_FALSE(down.download("big.nte", (local.path() / "notes.nte").string()));
    EXPECT_EQ(down.errorString(), FtpTexts::downloadFailed);

    EXPECT_EQ(snapshot(server.root()), serverBefore);
    EXPECT_EQ(snapshot(local.path()), localBefore);
}

TEST(FtpSession, TlsVerifiesTheServer) {
    FtpServerOptions options;
    options.tls = true;
    FtpTestServer tlsServer(options);
    WriteFileBytes(tlsServer.root() / "secure.nte", "s");
    FtpSettings settings = tlsServer.settings();
    settings.useTls = true;
    settings.caFile = tlsServer.caFile();
    FtpSession session(settings);
    ASSERT_TRUE(session.connect()) << session.errorDetail();
    ScratchDir local;
    WriteFileBytes(local.path() / "up.nte", DatabaseBytes(100'000, 3));
    ASSERT_TRUE(session.upload((local.path() / "up.nte").string())) << session.errorDetail();
    std::vector<FtpFileInfo> files;
    ASSERT_TRUE(session.list(files));
    EXPECT_EQ(names(files), (std::vector<std::string>{"secure.nte", "up.nte"}));
    ASSERT_TRUE(session.download("secure.nte", (local.path() / "secure.nte").string()));
    EXPECT_EQ(ReadFileBytes(local.path() / "secure.nte"), "s");

    // Without the test's CA the certificate is not trusted; a plain server refuses TLS.
    settings.caFile.clear();
    FtpSession untrusted(settings);
    EXPECT_FALSE(untrusted.connect());
    EXPECT_EQ(untrusted.errorString(), FtpTexts::connectFailed);
    FtpTestServer plainServer;
    FtpSettings plain = plainServer.settings();
    plain.useTls = true;
    FtpSession refused(plain);
    EXPECT_FALSE(refused.connect());
    EXPECT_EQ(refused.errorString(), FtpTexts::connectFailed);
}

TEST(FtpSession, LargeTransfersArriveWholeWithProgress) {
    constexpr size_t kSize = 200u * 1024 * 1024;
    FtpTestServer server;
    ScratchDir local;
    const std::string bytes = DatabaseBytes(kSize, 7);
    WriteFileBytes(local.path() / "big.nte", bytes);
    uint64_t lastDone = 0, lastTotal = 0;
    bool monotonic = true;
    const FtpSession::Progress progress = [&](uint64_t done, uint64_t total) {
        monotonic = monotonic && done >= lastDone;
        lastDone = done;
        lastTotal = total;
    };
    FtpSession session(server.settings());
    ASSERT_TRUE(session.connect());
    ASSERT_TRUE(session.upload((local.path() / "big.nte").string(), progress)) << session.errorDetail();
    EXPECT_TRUE(monotonic);
    EXPECT_EQ(lastDone, kSize);
    EXPECT_EQ(lastTotal, kSize);
    EXPECT_TRUE(ReadFileBytes(server.root() / "big.nte") == bytes);

    lastDone = 0;
    ASSERT_TRUE(session.download("big.nte", (local.path() / "copy.nte").string(), progress));
    EXPECT_TRUE(monotonic);
    EXPECT_EQ(lastDone, kSize);
    EXPECT_EQ(lastTotal, kSize);
    EXPECT_TRUE(ReadFileBytes(local.path() / "copy.nte") == bytes);
}

} // namespace

namespace {

// No command takes a path for a name, and a rename never replaces a file.
TEST(FtpSession, NamesAreNamesAndNothingIsReplacedOrHidden) {
    FtpTestServer server;
    ScratchDir local;
    fs::create_directory(server.root() / "box.nte");
    WriteFileBytes(server.root() / "big.nte", "big");
    WriteFileBytes(server.root() / "other.nte", "other");
    WriteFileBytes(local.path() / ".hidden.nte", DatabaseBytes(10, 1));
    WriteFileBytes(local.path() / "export.nte", "{\"dbTitle\": \"Cards\"}");
    WriteFileBytes(local.path() / "export.json", "{}");
    WriteFileBytes(local.path() / "short.nte", "\x1A\x7F");
    const auto serverBefore = snapshot(server.root());
    const std::string localFile = (local.path() / "copy.nte").string();
    const auto path = [&](const char* name) { return (local.path() / name).string(); };

    FtpSession session(server.settings());
    ASSERT_TRUE(session.connect());
    struct Case {
        std::function<bool()> run;
        std::string message;
    };
    const std::vector<Case> cases = {
        {[&] { return session.rename("big.nte", "../escaped"); }, FtpTexts::nameNotPlain},
        {[&] { return session.rename("big.nte", "sub/escaped"); }, FtpTexts::nameNotPlain},
        {[&] { return session.rename("big.nte", "..\\escaped"); }, FtpTexts::nameNotPlain},
        {[&] { return session.rename("big.nte", ".big"); }, FtpTexts::nameNotPlain},
        {[&] { return session.rename("../big.nte", "x"); }, FtpTexts::nameNotPlain},
        {[&] { return session.rename("big.nte", "other"); }, WithName(FtpTexts::nameTaken, "other.nte")},
        {[&] { return session.rename("big.nte", "box.nte"); }, WithName(FtpTexts::nameTaken, "box.nte")},
        {[&] { return session.download("../big.nte", localFile); }, FtpTexts::nameNotPlain},
        {[&] { return session.download("..", localFile); }, FtpTexts::nameNotPlain},
        {[&] { return session.remove("sub/big.nte"); }, FtpTexts::nameNotPlain},
        {[&] { return session.remove(".."); }, FtpTexts::nameNotPlain},
        {[&] { return session.upload(path(".hidden.nte")); }, FtpTexts::nameNotPlain},
        {[&] { return session.upload(path("export.nte")); }, WithName(FtpTexts::notADatabase, "export.nte")},
        {[&] { return session.upload(path("export.json")); },
         WithName(FtpTexts::notADatabase, "export.json")},
        {[&] { return session.upload(path("short.nte")); }, WithName(FtpTexts::notADatabase, "short.nte")},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        EXPECT_FALSE(cases[i].run()) << i;
        EXPECT_EQ(session.errorString(), cases[i].message) << i;
    }
    EXPECT_EQ(snapshot(server.root()), serverBefore);
    EXPECT_FALSE(fs::exists(localFile));
}

// A temporary file of an upload that was cut is removed by the next upload of
// its name, or by clean(), once ten minutes old by the server's clock.
TEST(FtpSession, StaleTemporaryFilesAreRemoved) {
    for (const bool mlsd : {true, false}) {
        FtpServerOptions options;
        options.noMlsd = !mlsd;
        FtpTestServer server(options);
        ScratchDir local;
        const fs::path& root = server.root();
        const std::time_t old = std::time(nullptr) - FtpSession::kStaleSeconds - 60;
        const struct utimbuf aged { old, old };
        const char* stale[] = {"notes.nte.part-0123abcd", "other.nte.part-00000000",
                               "notes.nte.part-zzzzzzzz", "readme.part-00000000"};
        for (const char* name : stale) {
            WriteFileBytes(root / name, "cut");
            utime((root / name).c_str(), &aged);
        }
        WriteFileBytes(root / "notes.nte.part-89abcdef", "being written"); // by someone else, now
        WriteFileBytes(local.path() / "notes.nte", DatabaseBytes(100, 1));

        FtpSession session(server.settings());
        ASSERT_TRUE(session.connect());
        ASSERT_TRUE(session.upload((local.path() / "notes.nte").string())) << session.errorDetail();
        auto names = snapshot(root);
        EXPECT_EQ(names.count("notes.nte.part-0123abcd"), 0u) << mlsd;
        EXPECT_EQ(names.count("other.nte.part-00000000"), 1u) << "another name's file waits for clean";
        EXPECT_EQ(names.size(), 5u) << mlsd;

        std::vector<std::string> removed;
        ASSERT_TRUE(session.clean(removed)) << session.errorDetail();
        EXPECT_EQ(removed, std::vector<std::string>{"other.nte.part-00000000"}) << mlsd;
        names = snapshot(root);
        EXPECT_EQ(names.size(), 4u) << mlsd;
        EXPECT_EQ(names.count("notes.nte.part-89abcdef"), 1u);
        EXPECT_EQ(names.count("notes.nte.part-zzzzzzzz"), 1u);
    }
}

// The stop flag ends a transfer; both sides stay as they were.
TEST(FtpSession, StopEndsATransferChangingNothing) {
    FtpServerOptions options;
    options.throttle = 256 * 1024;
    FtpTestServer server(options);
    ScratchDir local;
    WriteFileBytes(server.root() / "notes.nte", DatabaseBytes(2'000'000, 1));
    WriteFileBytes(local.path() / "notes.nte", DatabaseBytes(2'000'000, 2));
    const auto serverBefore = snapshot(server.root());
    const auto localBefore = snapshot(local.path());
    const std::string localFile = (local.path() / "notes.nte").string();
    for (const bool upload : {true, false}) {
        std::atomic<bool> stop = false;
        const FtpSession::Progress progress = [&](uint64_t done, uint64_t) {
            if (done > 100'000)
                stop = true;
        };
        FtpSession session(server.settings());
        session.setStopFlag(&stop);
        ASSERT_TRUE(session.connect());
        EXPECT_FALSE(upload ? session.upload(localFile, progress)
                            : session.download("notes.nte", localFile, progress));
        EXPECT_TRUE(session.stopped());
        EXPECT_EQ(session.errorString(), FtpTexts::stopped);
        EXPECT_EQ(snapshot(server.root()), serverBefore) << upload;
        EXPECT_EQ(snapshot(local.path()), localBefore) << upload;
    }
}

} // namespace
