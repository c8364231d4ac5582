// The installation as `cmake --install` makes it, staged under DESTDIR by the
// test install_tree: every installed file checked by its kind, the installed
// programs run from there, and the programs' searches (manual, dictionary,
// file-type registration) pointed at the staged installation.
#include "app/HelpFiles.h"
#include "editor/SpellEngine.h"
#include "gui/FileAssociation.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kPrefix = QStringLiteral(SEALBOOK_STAGED_PREFIX);
const QString kBin = QStringLiteral(SEALBOOK_BINDIR);
const QString kData = QStringLiteral(SEALBOOK_DATADIR);
const QString kDoc = QStringLiteral(SEALBOOK_DOCDIR);
const QString kMan = QStringLiteral(SEALBOOK_MANDIR);
const QString kBuild = QStringLiteral(SEALBOOK_BINARY_DIR);
const QStringList kPrograms{QStringLiteral("Wrendesk"), QStringLiteral("Wrenpad"),
                            QStringLiteral("sealbook")};

QString staged(const QString& relative) {
    return kPrefix + u'/' + relative;
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

Outcome run(const QString& program, const QStringList& arguments,
            const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    Outcome result;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        result.err = QStringLiteral("did not finish normally: ") + program;
        return result;
    }
    result.status = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

// A tool the checks need: scripts/setup installs it.
QString tool(const char* name) {
    const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
    EXPECT_FALSE(path.isEmpty()) << name << " is not installed (scripts/setup installs it)";
    return path;
}

// Every file under the prefix, relative to it.
QStringList installedFiles() {
    QStringList files;
    QDirIterator it(kPrefix, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(kPrefix).relativeFilePath(it.next());
    files.sort();
    return files;
}

// The [Desktop Entry] keys of a desktop entry.
QMap<QString, QString> desktopKeys(const QString& path) {
    QMap<QString, QString> keys;
    for (const QString& line : QString::fromUtf8(readBytes(path)).split(u'\n')) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq > 0 && !line.startsWith(u'#'))
            keys.insert(line.left(eq), line.mid(eq + 1));
    }
    return keys;
}

const QString kIconPattern = QStringLiteral("/icons/hicolor/([0-9]+x[0-9]+|scalable)/apps/") +
                             QLatin1String(FileAssociation::kIconName) + QStringLiteral(".svg");

QStringList entryFiles() {
    return {kData + QStringLiteral("/applications/marrowick-wrendesk.desktop"),
            kData + QStringLiteral("/applications/marrowick-wrenpad.desktop")};
}

} // namespace

TEST(Installation, HoldsExactlyTheExpectedFiles) {
    QStringList expected;
    for (const QString& program : kPrograms) {
        expected << kBin + u'/' + program
                 << kMan + QStringLiteral("/man1/") + program + QStringLiteral(".1.gz");
    }
    for (const char* doc : {"notes.html", "notes.pdf", "copyright", "changelog.gz"})
        expected << kDoc + u'/' + QLatin1String(doc);
    expected << entryFiles()
             << kData + QStringLiteral("/mime/packages/") +
                    QLatin1String(FileAssociation::kInstalledMimePackage)
             << kData + QStringLiteral("/metainfo/" SEALBOOK_APPSTREAM_ID ".metainfo.xml")
             << kData + QStringLiteral("/icons/hicolor/scalable/apps/marrowick-sealbook.svg");
    const QStringList files = installedFiles();
    ASSERT_FALSE(files.isEmpty()) << "nothing installed under " << qPrintable(kPrefix);
    for (const QString& file : expected)
        EXPECT_TRUE(files.contains(file)) << "missing: " << qPrintable(file);
    // Nothing else, except the icon at the theme's fixed sizes (no dictionary copy, no build files).
    const QRegularExpression icon(QStringLiteral("^") + QRegularExpression::escape(kData) + kIconPattern +
                                  u'$');
    int fixedSizes = 0;
    for (const QString& file : files) {
        if (!expected.contains(file) && !icon.match(file).hasMatch())
            ADD_FAILURE() << "unexpected: " << qPrintable(file);
        fixedSizes += icon.match(file).captured(1).contains(u'x');
    }
    EXPECT_GE(fixedSizes, 1) << "the program icon at no fixed size";
    for (const QString& program : kPrograms) {
        const QString path = staged(kBin + u'/' + program);
        EXPECT_TRUE(QFileInfo(path).isExecutable()) << qPrintable(path);
        EXPECT_TRUE(readBytes(path).startsWith("\x7F"
                                               "ELF"))
            << qPrintable(path);
    }
}

TEST(Installation, DesktopEntriesAreValidAndStartTheInstalledPrograms) {
    const QString validate = tool("desktop-file-validate");
    ASSERT_FALSE(validate.isEmpty());
    const QStringList programs{QStringLiteral("Wrendesk"), QStringLiteral("Wrenpad")};
    for (int i = 0; i < 2; ++i) {
        const QString entry = staged(entryFiles().at(i));
        const Outcome check = run(validate, {entry});
        EXPECT_EQ(check.status, 0) << qPrintable(check.out + check.err);
        EXPECT_FALSE(check.out.contains(QStringLiteral("error")) ||
                     check.out.contains(QStringLiteral("warning")))
            << qPrintable(check.out);
        const QMap<QString, QString> keys = desktopKeys(entry);
        // Started by name from the PATH, so that the entry holds under any prefix.
        EXPECT_EQ(FileAssociation::ExecProgram(keys.value(QStringLiteral("Exec"))), programs.at(i));
        EXPECT_TRUE(keys.value(QStringLiteral("Exec")).endsWith(QStringLiteral(" %f")));
        EXPECT_EQ(keys.value(QStringLiteral("MimeType")), QLatin1String(FileAssociation::kMimeType) + u';');
        EXPECT_EQ(keys.value(QStringLiteral("Icon")), QLatin1String(FileAssociation::kIconName));
    }
    // The two editions are told apart in menus.
    EXPECT_NE(desktopKeys(staged(entryFiles().at(0))).value(QStringLiteral("Name")),
              desktopKeys(staged(entryFiles().at(1))).value(QStringLiteral("Name")));
}

TEST(Installation, MimePackageDefinesTheFileType) {
    const QString package = staged(kData + QStringLiteral("/mime/packages/") +
                                   QLatin1String(FileAssociation::kInstalledMimePackage));
    // The same type the registration at start writes for a build folder.
    EXPECT_EQ(QString::fromUtf8(readBytes(package)), FileAssociation::MimePackage());
    const QString update = tool("update-mime-database");
    ASSERT_FALSE(update.isEmpty());
    QTemporaryDir data;
    const QString mime = data.filePath(QStringLiteral("mime"));
    QDir().mkpath(mime + QStringLiteral("/packages"));
    ASSERT_TRUE(QFile::copy(package, mime + QStringLiteral("/packages/sealbook.xml")));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_DIRS"), data.path());
    const Outcome result = run(update, {mime}, environment);
    EXPECT_EQ(result.status, 0) << qPrintable(result.err);
    EXPECT_TRUE(result.err.isEmpty()) << qPrintable(result.err);
    EXPECT_TRUE(
        QFile::exists(mime + u'/' + QLatin1String(FileAssociation::kMimeType) + QStringLiteral(".xml")));
    EXPECT_TRUE(readBytes(mime + QStringLiteral("/globs2"))
                    .contains(QByteArray(FileAssociation::kMimeType) + ":*.nte"));
}

TEST(Installation, IconsAreSvgDrawnAtTheirFolderSize) {
    const QRegularExpression icon(kIconPattern + u'$');
    for (const QString& file : installedFiles()) {
        const QRegularExpressionMatch match = icon.match(file);
        if (!match.hasMatch())
            continue;
        QSvgRenderer renderer(staged(file));
        ASSERT_TRUE(renderer.isValid()) << qPrintable(file);
        const QString size = match.captured(1);
        if (size != QStringLiteral("scalable")) {
            EXPECT_EQ(QStringLiteral("%1x%2")
                          .arg(renderer.defaultSize().width())
                          .arg(renderer.defaultSize().height()),
                      size)
                << qPrintable(file);
        }
    }
}

TEST(Installation, MetainfoIsValidAndNamesWhatIsInstalled) {
    const QString metainfo =
        staged(kData + QStringLiteral("/metainfo/" SEALBOOK_APPSTREAM_ID ".metainfo.xml"));
    const QString text = QString::fromUtf8(readBytes(metainfo));
    ASSERT_FALSE(text.isEmpty());
    const QString appstream = QStandardPaths::findExecutable(QStringLiteral("appstreamcli"));
    if (!appstream.isEmpty()) {
        const Outcome result =
            run(appstream, {QStringLiteral("validate"), QStringLiteral("--no-net"), metainfo});
        EXPECT_EQ(result.status, 0) << qPrintable(result.out + result.err);
    }
    for (const QString& entry : entryFiles())
        EXPECT_TRUE(
            text.contains(QStringLiteral("<launchable type=\"desktop-id\">") + QFileInfo(entry).fileName()))
            << qPrintable(entry);
    for (const QString& program : kPrograms)
        EXPECT_TRUE(text.contains(QStringLiteral("<binary>") + program + QStringLiteral("</binary>")));
    EXPECT_TRUE(text.contains(QStringLiteral("<release version=\"" SEALBOOK_VERSION "\"")));
}

TEST(Installation, ManPagesRenderWithoutWarnings) {
    const QString man = tool("man");
    ASSERT_FALSE(man.isEmpty());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    environment.insert(QStringLiteral("MANWIDTH"), QStringLiteral("80"));
    for (const QString& program : kPrograms) {
        const QString page = staged(kMan + QStringLiteral("/man1/") + program + QStringLiteral(".1.gz"));
        const Outcome result = run(man,
                                   {QStringLiteral("--warnings"), QStringLiteral("-P"), QStringLiteral("cat"),
                                    QStringLiteral("-l"), page},
                                   environment);
        EXPECT_EQ(result.status, 0) << qPrintable(result.err);
        EXPECT_TRUE(result.err.isEmpty()) << qPrintable(program + u'\n' + result.err);
        EXPECT_TRUE(result.out.contains(
            QRegularExpression(QStringLiteral("NAME\n +") + program + QStringLiteral(" +- "))))
            << qPrintable(result.out.left(400));
        EXPECT_TRUE(result.out.contains(QStringLiteral("Marrowick Sealbook " SEALBOOK_VERSION)));
    }
}

TEST(Installation, DocumentationFolderHoldsTheManualAndThePackageRecords) {
    for (const char* manual : {"notes.html", "notes.pdf"}) {
        const QByteArray built = readBytes(kBuild + u'/' + QLatin1String(manual));
        ASSERT_FALSE(built.isEmpty()) << manual;
        EXPECT_EQ(readBytes(staged(kDoc + u'/' + QLatin1String(manual))), built) << manual;
    }
    const Outcome changelog =
        run(tool("gzip"), {QStringLiteral("-dc"), staged(kDoc + QStringLiteral("/changelog.gz"))});
    EXPECT_TRUE(changelog.out.startsWith(QStringLiteral("marrowick-sealbook (" SEALBOOK_VERSION ") ")))
        << qPrintable(changelog.out + changelog.err);
    EXPECT_TRUE(readBytes(staged(kDoc + QStringLiteral("/copyright"))).contains("LGPL-3"));
}

TEST(InstalledPrograms, CompanionRuns) {
    QTemporaryDir work;
    const QString json = work.filePath(QStringLiteral("in.json"));
    const QString database = work.filePath(QStringLiteral("out.nte"));
    QFile file(json);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const QByteArray time = R"({"year": 2026, "month": 1, "dayOfWeek": 4, "day": 1, "hour": 9, "minute": 30,)"
                            R"( "second": 0, "millisecond": 0})";
    const QByteArray zero = R"({"year": 0, "month": 0, "dayOfWeek": 0, "day": 0, "hour": 0, "minute": 0,)"
                            R"( "second": 0, "millisecond": 0})";
    const auto node = [&](int id, int parent, int folder, const char* title, const char* body) {
        return QByteArray(R"({"nodeId": )") + QByteArray::number(id) + R"(, "parentId": )" +
               QByteArray::number(parent) + R"(, "iconIndex": 0, "isFolder": )" + QByteArray::number(folder) +
               R"(, "title": ")" + title + R"(", "body": ")" + body + R"(", "link": "", "modifiedTime": )" +
               time + R"(, "reminderOn": 0, "reminderTime": )" + zero + R"(, "reminderAckTime": )" + zero +
               R"(, "repeatKind": 0, "repeatDays": 0, "templateId": 0, "fieldValues": ["", "", "", "", "", "", ""],)"
               R"( "attachmentName": "", "attachmentSize": 0, "attachmentTime": )" +
               zero + "}";
    };
    file.write(R"({"dbTitle": "Staged", "dbDescription": "", "formatVersion": 7, "nextNodeId": 2,)"
               R"( "nextTemplateId": 50, "templates": [], "nodes": [)" +
               node(0, -1, 1, "Root", "") + ", " +
               node(1, 0, 0, "Installed note", "from the staged program") + "]}");
    file.close();

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("SEALBOOK_PASSWORD"));
    const QString sealbook = staged(kBin + QStringLiteral("/sealbook"));
    const Outcome import = run(sealbook, {QStringLiteral("import"), json, database}, environment);
    ASSERT_EQ(import.status, 0) << qPrintable(import.err);
    const Outcome verify = run(sealbook, {QStringLiteral("verify"), database}, environment);
    EXPECT_EQ(verify.status, 0) << qPrintable(verify.err);
    EXPECT_TRUE(verify.out.contains(QStringLiteral("nodes: 2\n"))) << qPrintable(verify.out);
    EXPECT_TRUE(verify.out.contains(QStringLiteral("notes: 1\n"))) << qPrintable(verify.out);
    const Outcome body =
        run(sealbook, {QStringLiteral("show"), database, QStringLiteral("1"), QStringLiteral("--body")},
            environment);
    EXPECT_EQ(body.out.trimmed(), QStringLiteral("from the staged program")) << qPrintable(body.err);
}

TEST(InstalledPrograms, AnswerTheirCommandLineWithoutADisplay) {
    // No display and no platform chosen: help, version and refusals come before Qt starts.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    struct Case {
        QStringList arguments;
        int status;
        const char* out; // what standard output holds ("" : nothing)
        const char* err; // what standard error holds ("" : nothing)
    };
    const Case cases[] = {
        {{QStringLiteral("--help")}, 0, "Usage: %1 [options] [database.nte]", ""},
        {{QStringLiteral("--version")}, 0, "%1 (Marrowick Sealbook) " SEALBOOK_VERSION "\n", ""},
        {{QStringLiteral("--no-such-option"), QStringLiteral("a.nte")},
         2,
         "",
         "%1: Unknown option 'no-such-option'"},
    };
    for (const QString& program : {QStringLiteral("Wrendesk"), QStringLiteral("Wrenpad")}) {
        for (const Case& c : cases) {
            const Outcome result = run(staged(kBin + u'/' + program), c.arguments, environment);
            const QString what = program + u' ' + c.arguments.join(u' ');
            EXPECT_EQ(result.status, c.status) << qPrintable(what + u'\n' + result.err);
            const QString out = QString::fromUtf8(c.out).replace(QStringLiteral("%1"), program);
            const QString err = QString::fromUtf8(c.err).replace(QStringLiteral("%1"), program);
            EXPECT_EQ(result.out.isEmpty(), out.isEmpty()) << qPrintable(what);
            EXPECT_TRUE(result.out.contains(out)) << qPrintable(what + u'\n' + result.out);
            EXPECT_EQ(result.err.isEmpty(), err.isEmpty()) << qPrintable(what);
            EXPECT_TRUE(result.err.contains(err)) << qPrintable(what + u'\n' + result.err);
        }
    }
}

TEST(InstalledPrograms, HelpCommandsFindTheInstalledManual) {
    QTemporaryDir bare;
    struct Case {
        QString programDir;
        QString expected;
    };
    const Case cases[] = {
        // Installed: the documentation folder (nothing lies beside the program).
        {staged(kBin), staged(kDoc + QStringLiteral("/notes.pdf"))},
        // The build folder: beside the program.
        {kBuild, kBuild + QStringLiteral("/notes.pdf")},
        // Neither: the place beside the program, which the shell reports missing.
        {bare.path(), bare.filePath(QStringLiteral("notes.pdf"))},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QDir::cleanPath(HelpFiles::Locate(c.programDir, QStringLiteral("notes.pdf"))),
                  QDir::cleanPath(c.expected))
            << qPrintable(c.programDir);
    EXPECT_TRUE(QFile::exists(HelpFiles::Locate(staged(kBin), QStringLiteral("notes.html"))));
}

TEST(InstalledPrograms, InstalledProgramsUseTheSystemDictionary) {
    const QString language = QStringLiteral("en_US");
    EXPECT_EQ(SpellEngine::FindDictionaryFolder(language, staged(kBin)),
              QString::fromLatin1(SpellEngine::kSystemFolder));
    EXPECT_TRUE(
        QFile::exists(QString::fromLatin1(SpellEngine::kSystemFolder) + QStringLiteral("/en_US.dic")));
    // The build folder keeps its own copy and uses it first.
    EXPECT_EQ(SpellEngine::FindDictionaryFolder(language, kBuild), kBuild + QStringLiteral("/dic"));
}

TEST(InstalledPrograms, StartUpRegistrationLeavesTheInstallationsEntryVisible) {
    QTemporaryDir home;
    const QByteArray saved[] = {qgetenv("XDG_DATA_HOME"), qgetenv("XDG_DATA_DIRS"), qgetenv("PATH")};
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    qputenv("XDG_DATA_DIRS", staged(kData).toUtf8());
    qputenv("PATH", staged(kBin).toUtf8() + ':' + saved[2]);
    FileAssociation::SetToolRunner([](const QString&, const QStringList&) {});
    const QString userEntry =
        home.filePath(QStringLiteral("applications/") + FileAssociation::DesktopFileName());

    // The installed program: the installation's entry and type stand, nothing is written.
    EXPECT_TRUE(RegisterFileType(staged(kBin + QStringLiteral("/Wrendesk"))));
    EXPECT_TRUE(QDir(home.path()).isEmpty());
    // The build folder's program still registers itself per user.
    EXPECT_TRUE(RegisterFileType(kBuild + QStringLiteral("/Wrendesk")));
    EXPECT_TRUE(readBytes(userEntry).contains("Exec=\"" + kBuild.toUtf8() + "/Wrendesk\" %f"));
    // Started again from the installation, it removes that entry, which would hide the installation's.
    EXPECT_TRUE(RegisterFileType(staged(kBin + QStringLiteral("/Wrendesk"))));
    EXPECT_FALSE(QFile::exists(userEntry));

    FileAssociation::SetToolRunner({});
    const char* names[] = {"XDG_DATA_HOME", "XDG_DATA_DIRS", "PATH"};
    for (int i = 0; i < 3; ++i) {
        if (saved[i].isNull())
            qunsetenv(names[i]);
        else
            qputenv(names[i], saved[i]);
    }
}
