#pragma once
// The file-open and file-save dialogs and the folder browser, behind one seam: tests
// queue the names the "user" picks, so that no dialog waits for a person.

#include <QString>
#include <QStringList>

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

// Test seam: while answers are queued, each dialog takes the next one
// (an empty string stands for Cancel) instead of showing itself.
void QueueAnswers(const QStringList& answers);
// The suggested names the save dialogs were given while answers were queued.
QStringList SuggestedNames();
void ClearQueue();

} // namespace FileDialogs
