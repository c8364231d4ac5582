#include "app/StartUpFiles.h"

#include "app/AppTexts.h"
#include "core/NotesMgr.h"
#include "dialogs/PropSheetTexts.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace StartUpFiles {

std::vector<DatabaseFile> ListDatabaseFiles(const QString& folder) {
    std::vector<DatabaseFile> files;
    // An empty text names no folder (QDir would take it for the working folder).
    if (folder.isEmpty())
        return files;
    const QString pattern = QLatin1Char('*') + QString::fromUtf8(AppTexts::extension);
    // QDir::Files leaves out folders, also folders whose names end in ".nte",
    // and links to folders; the pattern ignores letter case.
    const QFileInfoList entries = QDir(folder).entryInfoList({pattern}, QDir::Files, QDir::NoSort);
    files.reserve(static_cast<size_t>(entries.size()));
    for (const QFileInfo& entry : entries)
        files.push_back({entry.fileName(), entry.size(),
                         static_cast<std::time_t>(entry.lastModified().toSecsSinceEpoch())});
    // The folder's own order is arbitrary here; names without regard to case
    // give the order a person expects and the same order on every run.
    std::sort(files.begin(), files.end(), [](const DatabaseFile& a, const DatabaseFile& b) {
        const int folded = QString::compare(a.name, b.name, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a.name < b.name;
    });
    return files;
}

QString SizeText(qint64 size) {
    // The whole size counts: a file past 4 GB shows its true size.
    if (size <= 1023)
        return QString::fromUtf8(AppTexts::sizeBytes).arg(size);
    return QString::fromUtf8(AppTexts::sizeKilobytes).arg(size / 1024);
}

QString TimeText(std::time_t time) {
    std::tm local{};
    if (!localtime_r(&time, &local))
        return QString();
    char text[128];
    const size_t length = std::strftime(text, sizeof text, PropSheetTexts::timeFormat, &local);
    return QString::fromLocal8Bit(text, static_cast<qsizetype>(length));
}

QString DatabasePath(const QString& folder, const QString& name) {
    return QDir(folder).filePath(name);
}

std::vector<RecentEntry> RecentMenuEntries(const std::vector<std::u16string>& recentFiles) {
    std::vector<RecentEntry> entries;
    const size_t count = std::min(recentFiles.size(), static_cast<size_t>(kMaxStoredRecentFiles));
    for (size_t i = 0; i < count; ++i) {
        if (recentFiles[i].empty())
            continue;
        const int number = static_cast<int>(i) + 1;
        const QString path = QString::fromStdU16String(recentFiles[i]);
        entries.push_back(
            {number, path, QString::fromUtf8(AppTexts::recentEntry).arg(QString::number(number), path)});
    }
    return entries;
}

} // namespace StartUpFiles
