// Registration of the database file type under a temporary XDG_DATA_HOME.
#include "gui/FileAssociation.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

// Points the user's data folder at a temporary one and records the tools run.
struct Sandbox {
    Sandbox() : previous(qgetenv("XDG_DATA_HOME")) {
        qputenv("XDG_DATA_HOME", dir.path().toUtf8());
        FileAssociation::SetToolRunner([this](const QString& program, const QStringList& arguments) {
            runs.append(program + u' ' + arguments.join(u' '));
        });
    }
    ~Sandbox() {
        FileAssociation::SetToolRunner({});
        if (previous.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", previous);
    }
    QString desktopFile() const { return dir.filePath("applications/" + FileAssociation::DesktopFileName()); }
    QString mimeFile() const { return dir.filePath("mime/packages/sealbook.xml"); }

    QTemporaryDir dir;
    QByteArray previous;
    QStringList runs;
};

} // namespace

TEST(FileAssociation, ExecQuotesAwkwardProgramPaths) {
    EXPECT_EQ(FileAssociation::ExecLine(QStringLiteral("/opt/My Apps/wrendesk")),
              QStringLiteral("\"/opt/My Apps/wrendesk\" %f"));
    // ", $, ` and \ are escaped inside the quotes, % is doubled, and every
    // backslash is escaped once more for the desktop-entry string.
    EXPECT_EQ(FileAssociation::ExecLine(QStringLiteral("/a b/\"q\"$x`y\\z%1")),
              QStringLiteral("\"/a b/\\\\\"q\\\\\"\\\\$x\\\\`y\\\\\\\\z%%1\" %f"));
}

TEST(FileAssociation, WritesTheTypeTheIconAndTheEntry) {
    Sandbox box;
    ASSERT_TRUE(RegisterFileType(QStringLiteral("/opt/sealbook/wrendesk")));
    const QString mime = readAll(box.mimeFile());
    EXPECT_TRUE(mime.contains(QStringLiteral("<glob pattern=\"*.nte\"/>")));
    EXPECT_TRUE(mime.contains(QStringLiteral("<comment>Sealbook Database File</comment>")));
    EXPECT_TRUE(mime.contains(QLatin1String(FileAssociation::kMimeType)));
    const QString entry = readAll(box.desktopFile());
    EXPECT_TRUE(entry.contains(QStringLiteral("\nExec=\"/opt/sealbook/wrendesk\" %f\n")));
    EXPECT_TRUE(
        entry.contains(QStringLiteral("\nMimeType=") + QLatin1String(FileAssociation::kMimeType) + u';'));
    EXPECT_TRUE(QFile::exists(box.dir.filePath("icons/hicolor/32x32/apps/marrowick-sealbook.png")));
}

TEST(FileAssociation, CachesAreRefreshedOnlyForANewRegistration) {
    Sandbox box;
    ASSERT_TRUE(RegisterFileType(QStringLiteral("/opt/a/wrendesk")));
    const QStringList first = box.runs;
    if (!QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty()) {
        ASSERT_FALSE(first.isEmpty());
        EXPECT_TRUE(first.first().endsWith(box.dir.filePath("mime")));
    }
    // A start from a new folder writes the new path and needs no refresh.
    ASSERT_TRUE(RegisterFileType(QStringLiteral("/home/u/new place/wrendesk")));
    EXPECT_EQ(box.runs, first);
    EXPECT_TRUE(
        readAll(box.desktopFile()).contains(QStringLiteral("Exec=\"/home/u/new place/wrendesk\" %f")));
}

TEST(FileAssociation, TheDesktopToolAcceptsThePackage) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
    if (tool.isEmpty())
        GTEST_SKIP() << "update-mime-database is not installed";
    Sandbox box;
    int exitCode = -1;
    FileAssociation::SetToolRunner([&exitCode](const QString& program, const QStringList& arguments) {
        if (program.endsWith(QStringLiteral("update-mime-database")))
            exitCode = QProcess::execute(program, arguments);
    });
    ASSERT_TRUE(RegisterFileType(QStringLiteral("/opt/sealbook/wrendesk")));
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(QFile::exists(box.dir.filePath("mime/application/x-sealbook-database.xml")));
}

TEST(FileAssociation, UnwritableDataFolderFailsQuietly) {
    Sandbox box;
    qputenv("XDG_DATA_HOME", "/proc/sealbook-none");
    EXPECT_FALSE(RegisterFileType(QStringLiteral("/opt/sealbook/wrendesk")));
    EXPECT_TRUE(box.runs.isEmpty());
}
