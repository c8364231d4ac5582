#include "gui/FileAssociation.h"

#include "core/Edition.h"
#include "gui/ControlTexts.h"
#include "gui/IconLists.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
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

QString MimePackage() {
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                          "  <mime-type type=\"%1\">\n"
                          "    <comment>%2</comment>\n"
                          "    <icon name=\"%3\"/>\n"
                          "    <glob pattern=\"*.nte\"/>\n"
                          "  </mime-type>\n"
                          "</mime-info>\n")
        .arg(QString::fromLatin1(kMimeType), xmlEscaped(QString::fromUtf8(ControlTexts::fileTypeName)),
             QString::fromLatin1(kIconName));
}

QString DesktopEntry(const QString& programPath) {
    QString name = QString::fromUtf8(ControlTexts::application);
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=%1\n"
                          "Comment=%2\n"
                          "Exec=%3\n"
                          "Icon=%4\n"
                          "MimeType=%5;\n"
                          "Terminal=false\n"
                          "Categories=Office;Utility;\n")
        .arg(name.replace(u'\n', u' '), QString::fromUtf8(ControlTexts::fileTypeName), ExecLine(programPath),
             QString::fromLatin1(kIconName), QString::fromLatin1(kMimeType));
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
        const ToolRunner run = g_runner ? g_runner : ToolRunner(runDetached);
        const QString mimeTool = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
        if (!mimeTool.isEmpty())
            run(mimeTool, {data + QStringLiteral("/mime")});
        const QString desktopTool = QStandardPaths::findExecutable(QStringLiteral("update-desktop-database"));
        if (!desktopTool.isEmpty())
            run(desktopTool, {data + QStringLiteral("/applications")});
    }
    return true;
}
