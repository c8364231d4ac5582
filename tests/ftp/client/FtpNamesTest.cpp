// The naming rules of the FTP exchange and the listing texts, without a server.

#include "ftp/client/FtpFileInfo.h"
#include "ftp/client/ListingParser.h"
#include "ftp/client/LocalDownloadFile.h"
#include "ftp/client/RemotePaths.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    std::string in;
    std::string out;
};

TEST(FtpNames, BackupNamesReplaceEveryExtension) {
    for (const Case& c : std::vector<Case>{{"notes.nte", "notes_old.nte"},
                                           {"/backup/notes.nte", "/backup/notes_old.nte"},
                                           {"a.nte.nte", "a_old.nte_old.nte"},
                                           {"notes.txt", "notes.txt"}})
        EXPECT_EQ(BackupName(c.in), c.out) << c.in;
    // Locally the rule touches the file name only, never a folder on the way.
    EXPECT_EQ(LocalDownloadFile::BackupPath("/x/my.nte.d/notes.nte"), "/x/my.nte.d/notes_old.nte");
}

TEST(FtpNames, RenameTargetsAndRemotePaths) {
    for (const Case& c : std::vector<Case>{{"my notes", "my_notes.nte"},
                                           {"x.nte", "x.nte"},
                                           {"a b.nte", "a_b.nte"},
                                           {"archive.nte.1", "archive.nte.1"}})
        EXPECT_EQ(RenameTarget(c.in), c.out) << c.in;
    EXPECT_EQ(RemotePath("", "n.nte"), "/n.nte");
    EXPECT_EQ(RemotePath("/my backups", "n.nte"), "/my backups/n.nte");
}

TEST(FtpNames, FolderLosesOneTrailingSeparator) {
    for (const Case& c : std::vector<Case>{{"/backup/", "/backup"},
                                           {"/backup//", "/backup/"},
                                           {"/", ""},
                                           {"\\data\\", "\\data"},
                                           {"/data\\/", "/data\\"},
                                           {"plain", "plain"},
                                           {"", ""}})
        EXPECT_EQ(TrimFolder(c.in), c.out) << c.in;
}

TEST(FtpNames, SizeTexts) {
    const std::vector<std::pair<uint64_t, std::string>> cases = {
        {0, "0 B"},
        {1023, "1023 B"},
        {1024, "1 Kb"},
        {2047, "1 Kb"},
        {2048, "2 Kb"},
        // The whole size counts past 4 GB, where its low half alone would mislead.
        {4294967296ull, "4194304 Kb"},
        {4294967296ull + 100, "4194304 Kb"}};
    for (const auto& [size, text] : cases)
        EXPECT_EQ(SizeText(size), text) << size;
}

TEST(FtpNames, MlsdListingKeepsDatabaseFilesOnly) {
    const std::string answer = "type=cdir;modify=20240101000000; .\r\n"
                               "type=file;size=1023;modify=20240102030405; my notes.nte\r\n"
                               "Type=File;Size=6000000000;Modify=20231231235959.123; \xC4\x89"
                               "efa.nte\r\n"
                               "type=dir;modify=20240101000000; folder.nte\r\n"
                               "type=file;size=5;modify=20240101000000; readme.txt\r\n"
                               "type=file;size=7; no-time.nte\n"
                               "garbage-without-space\r\n";
    const auto files = ParseMlsdListing(answer);
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0].name, "my notes.nte");
    EXPECT_EQ(files[0].size, 1023u);
    EXPECT_EQ(files[0].modified, 1704164645); // 2024-01-02 03:04:05 UTC
    EXPECT_EQ(files[1].name, "\xC4\x89"
                             "efa.nte");
    EXPECT_EQ(files[1].size, 6000000000ull);
    EXPECT_EQ(files[1].modified, 1704067199);
    EXPECT_EQ(files[2].modified, -1);
    EXPECT_EQ(IsoTimeText(files[0].modified), "2024-01-02T03:04:05Z");
    EXPECT_EQ(TimeText(-1), "");

    EXPECT_EQ(ParseNameListing("a.nte\r\n/dir/b.nte\r\nc.txt\r\n"),
              (std::vector<std::string>{"a.nte", "b.nte"}));
    EXPECT_FALSE(ParseFtpTime("2024130100000").has_value());
    EXPECT_FALSE(ParseFtpTime("20241301000000").has_value());
}

} // namespace
