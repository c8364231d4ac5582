// Registration of the database file type under a temporary XDG_DATA_HOME.
#include "gui/FileAssociation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

TEST(FileAssociation, ExecProgramReadsBackWhatExecLineWrites) {
    for (const QString& path :
         {QStringLiteral("/opt/sealbook/Wrendesk"), QStringLiteral("/opt/My Apps/wrendesk"),
          QStringLiteral("/a b/\"q\"$x`y\\z%1"), QStringLiteral("Wrenpad"),
          QStringLiteral("/home/\u00E9l\u00E8ve/build 2/Wrendesk")})
        EXPECT_EQ(FileAssociation::ExecProgram(FileAssociation::ExecLine(path)), path) << qPrintable(path);
    // Entries written by hand or by other tools: unquoted, with arguments, \s for a space.
    EXPECT_EQ(FileAssociation::ExecProgram(QStringLiteral("Wrendesk %f")), QStringLiteral("Wrendesk"));
    EXPECT_EQ(FileAssociation::ExecProgram(QStringLiteral("/usr/bin/Wrendesk --x %U")),
              QStringLiteral("/usr/bin/Wrendesk"));
    EXPECT_EQ(FileAssociation::ExecProgram(QStringLiteral("\"/opt/My\\sApps/w\" %f")),
              QStringLiteral("/opt/My Apps/w"));
}

namespace {

// A system data folder ($XDG_DATA_DIRS) holding an installation's desktop
// entry and MIME package, and programs to point it at.
struct Installation {
    Installation() : previousDirs(qgetenv("XDG_DATA_DIRS")), previousPath(qgetenv("PATH")) {
        qputenv("XDG_DATA_DIRS", system.path().toUtf8());
        qputenv("PATH", programs.path().toUtf8() + ':' + previousPath);
    }
    ~Installation() {
        qputenv("XDG_DATA_DIRS", previousDirs);
        qputenv("PATH", previousPath);
    }
    QString program(const QString& name) const {
        const QString path = programs.filePath(name);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) {
            file.write("#!/bin/sh\n");
            file.close();
            file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        }
        return path;
    }
    void write(const QString& relative, const QByteArray& content) const {
        QDir().mkpath(QFileInfo(system.filePath(relative)).absolutePath());
        QFile file(system.filePath(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QTemporaryDir system;
    QTemporaryDir programs;
    QByteArray previousDirs;
    QByteArray previousPath;
};

} // namespace

TEST(FileAssociation, AnInstalledProgramLeavesTheSystemRegistrationVisible) {
    struct Case {
        const char* what;
        const char* entryExec; // nullptr: no system entry
        bool typeInstalled;
        bool runInstalled; // else a program in a build folder
        bool userEntryExpected;
    };
    const Case cases[] = {
        {"installed program, entry by name on the PATH", "\"Wrendesk\" %f", true, true, false},
        {"installed program, entry by absolute path", "@ %f", true, true, false},
        {"build folder program beside an installation", "\"Wrendesk\" %f", true, false, true},
        {"entry without the file type", "\"Wrendesk\" %f", false, true, true},
        {"no system entry", nullptr, true, true, true},
    };
    for (const Case& c : cases) {
        Sandbox box;
        Installation installation;
        const QString installed = installation.program(QStringLiteral("Wrendesk"));
        QTemporaryDir buildFolder;
        const QString built = buildFolder.filePath(QStringLiteral("Wrendesk"));
        QFile::copy(installed, built);
        if (c.entryExec) {
            const QString exec = QString::fromUtf8(c.entryExec).replace(u'@', installed);
            installation.write(QStringLiteral("applications/") + FileAssociation::DesktopFileName(),
                               "[Desktop Entry]\nType=Application\nExec=" + exec.toUtf8() + "\n");
        }
        if (c.typeInstalled)
            installation.write(QStringLiteral("mime/packages/marrowick-sealbook.xml"),
                               FileAssociation::MimePackage().toUtf8());
        // A user entry from an earlier run of another copy would hide the system one.
        const QString stale = FileAssociation::DesktopEntry(QStringLiteral("/old/place/Wrendesk"));
        QDir().mkpath(box.dir.filePath(QStringLiteral("applications")));
        QFile old(box.desktopFile());
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(stale.toUtf8());
        old.close();

        const QString program = c.runInstalled ? installed : built;
        EXPECT_EQ(FileAssociation::RegisteredSystemWide(program), !c.userEntryExpected) << c.what;
        ASSERT_TRUE(RegisterFileType(program)) << c.what;
        if (c.userEntryExpected) {
            EXPECT_EQ(readAll(box.desktopFile()), FileAssociation::DesktopEntry(program)) << c.what;
        } else {
            EXPECT_FALSE(QFile::exists(box.desktopFile())) << c.what;
            EXPECT_FALSE(QFile::exists(box.mimeFile())) << c.what;
            EXPECT_FALSE(QFile::exists(box.dir.filePath("icons"))) << c.what;
            // The desktop's cache must forget the removed entry.
            if (!QStandardPaths::findExecutable(QStringLiteral("update-desktop-database")).isEmpty()) {
                EXPECT_EQ(box.runs.size(), 1) << c.what;
            }
        }
    }
}
