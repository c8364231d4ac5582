#pragma once
// The file-open and file-save dialogs and the folder browser, behind one seam: tests
// queue the names the "user" picks, so that no dialog waits for a person.

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace FileDialogs {

// Turns a filter written as "Description (pattern)|pattern|...||" into the
// toolkit's form, one "Description (pattern)" per line. "*.*" becomes "*", so
// that files without an extension are offered too.
QString ToolkitFilter(const QString& pairedFilter);

// Asks for an existing file; an empty string when the user cancels. An empty
// title leaves the toolkit's own.
QString GetOpenFileName(QWidget* parent, const QString& pairedFilter, const QString& title = QString());
// Asks for a file to write, pre-filled with `suggestedName`, asking before an
// existing file is replaced; an empty string when the user cancels.
QString GetSaveFileName(QWidget* parent, const QString& pairedFilter, const QString& suggestedName);

// Asks for an existing folder, starting at `start`; an empty string when the
// user cancels.
QString GetExistingFolder(QWidget* parent, const QString& title, const QString& start);

// Where the open and save dialogs start: `start` names the folder the user
// works in, and `chosen` hears the folder of every file picked, so that the
// next dialog can start there. Set by the application; empty functions leave
// the toolkit's own choice.
void SetWorkingFolder(std::function<QString()> start, std::function<void(const QString&)> chosen);

// A name beside `path` that no file has yet: "mine.nte" gives "mine (2).nte",
// or "mine (3).nte" when that is taken too.
QString UnusedSiblingName(const QString& path);

// Test seam: while answers are queued, each dialog takes the next one
// (an empty string stands for Cancel) instead of showing itself.
void QueueAnswers(const QStringList& answers);
// The suggested names the save dialogs were given while answers were queued.
QStringList SuggestedNames();
// Where each open or save dialog started while answers were queued: the
// folder, or for a save dialog the suggested name in it.
QStringList StartPlaces();
void ClearQueue();

} // namespace FileDialogs
