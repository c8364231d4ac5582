#include "app/HelpFiles.h"

#include "app/AppTexts.h"
#include "gui/ShellOpen.h"

#include <QDir>
#include <QFileInfo>

#ifndef SEALBOOK_DOC_FROM_BIN
#error "SEALBOOK_DOC_FROM_BIN (the documentation folder seen from the program folder) is defined by the build"
#endif

namespace HelpFiles {

QString InstalledDocFolder(const QString& programDir) {
    return QDir::cleanPath(QDir(programDir).filePath(QStringLiteral(SEALBOOK_DOC_FROM_BIN)));
}

QString Locate(const QString& programDir, const QString& fileName) {
    const QString beside = QDir(programDir).filePath(fileName);
    if (QFileInfo(beside).isFile())
        return beside;
    const QString installed = QDir(InstalledDocFolder(programDir)).filePath(fileName);
    if (QFileInfo(installed).isFile())
        return installed;
    return beside;
}

QString Open(const QString& programDir, const QString& fileName) {
    const QString file = QDir::toNativeSeparators(Locate(programDir, fileName));
    if (!QFileInfo(file).isFile())
        return QString::fromUtf8(AppTexts::helpFileMissing).arg(file);
    if (!ShellOpen(file))
        return QString::fromUtf8(AppTexts::helpFileNotOpened).arg(file);
    return {};
}

} // namespace HelpFiles
