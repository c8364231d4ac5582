#pragma once
// What the start-up dialog lists and how it words it, decided without a
// widget: the database files of one folder with their size and time texts,
// and the entries of the recent-file menu.

#include <QString>
#include <ctime>
#include <string>
#include <vector>

namespace StartUpFiles {

struct DatabaseFile {
    QString name;             // file name with extension, no folder
    qint64 size = 0;          // bytes
    std::time_t modified = 0; // last write
};

// The database files (*.nte, any letter case) directly in `folder`, sorted by
// name without regard to case (exact order between names equal but for case).
// Folders are left out whatever their names. An empty, missing or unreadable
// folder gives an empty list.
std::vector<DatabaseFile> ListDatabaseFiles(const QString& folder);

// "%d B" up to 1023 bytes, else "%d Kb" with the size divided by 1024, rounded down.
QString SizeText(qint64 size);

// The local time written "%I:%M %p, %x" (hour 01-12, minute, AM/PM, the locale's date).
QString TimeText(std::time_t time);

// The full path of a listed file.
QString DatabasePath(const QString& folder, const QString& name);

struct RecentEntry {
    int number = 0; // one-based position in the recent-file list
    QString path;
    QString text; // the menu text, "%d. %s"
};

// The recent-file menu: the first seven entries at most, each numbered by its
// place in the list; an empty entry is skipped and its number is not reused.
std::vector<RecentEntry> RecentMenuEntries(const std::vector<std::u16string>& recentFiles);

} // namespace StartUpFiles
