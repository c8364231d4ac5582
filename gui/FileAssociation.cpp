#include "gui/FileAssociation.h"

#include "core/Edition.h"
#include "gui/ControlTexts.h"
#include "gui/IconLists.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

FileAssociation::ToolRunner g_runner;

void runDetached(const QString& program, const QStringList& arguments) {
    QProcess::startDetached(program, arguments);
}

QString dataHome() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

// Writes the file unless it already holds exactly these bytes.
bool writeIfChanged(const QString& path, const QByteArray& content) {
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == content)
        return true;
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(content);
    return file.commit();
}

QString xmlEscaped(const QString& text) {
    return text.toHtmlEscaped();
}

// The value of `key` in the [Desktop Entry] group of a desktop entry file.
QString desktopEntryValue(const QString& path, const QString& key) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    bool inMainGroup = false;
    const QString prefix = key + u'=';
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(u'['))
            inMainGroup = line == QStringLiteral("[Desktop Entry]");
        else if (inMainGroup && line.startsWith(prefix))
            return line.mid(prefix.size());
    }
    return QString();
}

// Whether two program names start the same file: a name without a folder is
// looked up on the PATH, as the desktop does.
bool sameProgram(const QString& entryProgram, const QString& programPath) {
    QString entryPath = entryProgram;
    if (!entryPath.contains(u'/'))
        entryPath = QStandardPaths::findExecutable(entryPath);
    const QString a = QFileInfo(entryPath).canonicalFilePath();
    return !a.isEmpty() && a == QFileInfo(programPath).canonicalFilePath();
}

} // namespace

namespace FileAssociation {

QString DesktopFileName() {
    return kHandheld ? QStringLiteral("marrowick-wrenpad.desktop")
                     : QStringLiteral("marrowick-wrendesk.desktop");
}

QString ExecLine(const QString& programPath) {
    // Inside double quotes, ", `, $ and \ take a backslash; a literal % is
    // doubled. The whole value is then a desktop-entry string, in which each
    // backslash is itself escaped.
    QString quoted;
    for (const QChar c : programPath) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        if (c == u'%')
            quoted += u'%';
        quoted += c;
    }
    quoted.replace(u'\\', QStringLiteral("\\\\"));
    return QStringLiteral("\"%1\" %f").arg(quoted);
}

QString ExecProgram(const QString& execValue) {
    // First the desktop-entry string escapes (\s \n \t \r \\), then the
    // command line's quoting.
    QString value;
    for (qsizetype i = 0; i < execValue.size(); ++i) {
        QChar c = execValue.at(i);
        if (c == u'\\' && i + 1 < execValue.size()) {
            c = execValue.at(++i);
            if (c == u's')
                c = u' ';
            else if (c == u'n')
                c = u'\n';
            else if (c == u't')
                c = u'\t';
            else if (c == u'r')
                c = u'\r';
        }
        value += c;
    }
    QString program;
    if (value.startsWith(u'"')) {
        for (qsizetype i = 1; i < value.size() && value.at(i) != u'"'; ++i) {
            if (value.at(i) == u'\\' && i + 1 < value.size())
                ++i;
            program += value.at(i);
        }
    } else {
        program = value.section(u' ', 0, 0, QString::SectionSkipEmpty);
    }
    return program.replace(QStringLiteral("%%"), QStringLiteral("%"));
}

QString MimePackage() {
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                          "  <mime-type type=\"%1\">\n"
                          "    <comment>%2</comment>\n"
                          "    <icon name=\"%3\"/>\n"
                          "    <glob pattern=\"*.nte\"/>\n"
                          // The first bytes of the compatible and of the strong kind.
                          "    <magic priority=\"50\">\n"
                          "      <match type=\"string\" offset=\"0\" value=\"\\x1a\\x7f\\x1d\\xaf\"/>\n"
                          "      <match type=\"string\" offset=\"0\" value=\"\\x1a\\x7f\\x1dSTRNG\"/>\n"
                          "    </magic>\n"
                          "  </mime-type>\n"
                          "</mime-info>\n")
        .arg(QString::fromLatin1(kMimeType), xmlEscaped(QString::fromUtf8(ControlTexts::fileTypeName)),
             QString::fromLatin1(kIconName));
}

QString DesktopEntry(const QString& programPath) {
    QString name = QString::fromUtf8(kHandheld ? ControlTexts::handheldEntryName : ControlTexts::application);
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=%1\n"
                          "Comment=%2\n"
                          "Exec=%3\n"
                          "Icon=%4\n"
                          "MimeType=%5;\n"
                          "Terminal=false\n"
                          "Categories=Office;\n"
                          "Keywords=%6\n")
        .arg(name.replace(u'\n', u' '), QString::fromUtf8(ControlTexts::entryComment), ExecLine(programPath),
             QString::fromLatin1(kIconName), QString::fromLatin1(kMimeType),
             QString::fromUtf8(ControlTexts::entryKeywords));
}

bool RegisteredSystemWide(const QString& programPath) {
    const QString user = QDir::cleanPath(dataHome());
    const QString typeFile = QStringLiteral("mime/%1.xml").arg(QLatin1String(kMimeType));
    const QString packageFile = QStringLiteral("mime/packages/") + QLatin1String(kInstalledMimePackage);
    QString entry;
    bool typeKnown = false;
    for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        if (QDir::cleanPath(dir) == user)
            continue;
        const QDir folder(dir);
        const QString candidate = folder.filePath(QStringLiteral("applications/") + DesktopFileName());
        // The first folder that holds the entry is the one the desktop reads.
        if (entry.isEmpty() && QFileInfo(candidate).isFile())
            entry = candidate;
        typeKnown = typeKnown || QFileInfo(folder.filePath(typeFile)).isFile() ||
                    QFileInfo(folder.filePath(packageFile)).isFile();
    }
    return typeKnown && !entry.isEmpty() &&
           sameProgram(ExecProgram(desktopEntryValue(entry, QStringLiteral("Exec"))), programPath);
}

ToolRunner SetToolRunner(ToolRunner runner) {
    ToolRunner previous = std::move(g_runner);
    g_runner = std::move(runner);
    return previous;
}

} // namespace FileAssociation

bool RegisterFileType(const QString& programPath) {
    using namespace FileAssociation;
    const QString program = programPath.isEmpty() ? QCoreApplication::applicationFilePath() : programPath;
    const QString data = dataHome();
    if (data.isEmpty())
        return false;
    const QString mimeFile = data + QStringLiteral("/mime/packages/sealbook.xml");
    const QString iconFile =
        data + QStringLiteral("/icons/hicolor/32x32/apps/%1.png").arg(QLatin1String(kIconName));
    const QString desktopFile = data + QStringLiteral("/applications/") + DesktopFileName();
    const ToolRunner run = g_runner ? g_runner : ToolRunner(runDetached);
    const QString desktopTool = QStandardPaths::findExecutable(QStringLiteral("update-desktop-database"));

    if (RegisteredSystemWide(program)) {
        if (!QFile::exists(desktopFile))
            return true;
        if (!QFile::remove(desktopFile))
            return false;
        if (!desktopTool.isEmpty())
            run(desktopTool, {data + QStringLiteral("/applications")});
        return true;
    }

    const bool registeredBefore = QFile::exists(mimeFile) && QFile::exists(desktopFile);

    if (!writeIfChanged(mimeFile, MimePackage().toUtf8()))
        return false;
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        IconLists::instance().programIcon(true).save(&buffer, "PNG");
    }
    if (png.isEmpty() || !writeIfChanged(iconFile, png))
        return false;
    if (!writeIfChanged(desktopFile, DesktopEntry(program).toUtf8()))
        return false;

    if (!registeredBefore) {
        // The new type only takes effect once the desktop's caches know it.
        const QString mimeTool = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
        if (!mimeTool.isEmpty())
            run(mimeTool, {data + QStringLiteral("/mime")});
        if (!desktopTool.isEmpty())
            run(desktopTool, {data + QStringLiteral("/applications")});
    }
    return true;
}
