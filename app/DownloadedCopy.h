#pragma once
// A download from the FTP server may replace the file of the database that is
// open. The program then asks what to do with the downloaded copy; each answer
// is one choice, so that a further way of taking it in is one more value.

class QString;
class QWidget;

enum class DownloadedCopyChoice {
    OpenNow,          // open the downloaded copy (the save prompt comes first)
    KeepOpenDatabase, // go on with the database as it is open
    Merge,            // merge the downloaded copy into the open database, as one undo step
};

// True when the downloaded file at `localPath` is the open database's file
// `openPath` (the same file, whatever the spelling of the paths).
bool ReplacesOpenDatabase(const QString& localPath, const QString& openPath);

// The question after such a download.
DownloadedCopyChoice AskAboutDownloadedCopy(QWidget* parent, const QString& localPath);
