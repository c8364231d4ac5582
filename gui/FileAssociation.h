#pragma once
// Registers the database file type with the desktop at every start: a
// shared-mime-info package that names *.nte files, a desktop entry that opens
// them with this program (its own path, quoted) and the program's icon, all
// under the user's data folder ($XDG_DATA_HOME). Running from a new folder
// re-registers the new path at the next start. An installed program whose
// system-wide desktop entry starts it needs no user registration: nothing is
// written then, and a user entry that would hide the system one goes.

#include <QString>
#include <QStringList>
#include <functional>

namespace FileAssociation {

inline constexpr const char* kMimeType = "application/x-sealbook-database";
inline constexpr const char* kIconName = "marrowick-sealbook";
// The MIME package's file name in a system-wide installation.
inline constexpr const char* kInstalledMimePackage = "marrowick-sealbook.xml";

// The desktop entry's file name for this edition's program.
QString DesktopFileName();

// The Exec value that opens a file with `programPath`: the path quoted by the
// desktop-entry rules, then the file argument.
QString ExecLine(const QString& programPath);

// The program an Exec value starts: its first word, unquoted and unescaped
// (the reverse of ExecLine).
QString ExecProgram(const QString& execValue);

// File contents as they are written. An installation's entry names the
// program without a folder, found on the PATH.
QString MimePackage();
QString DesktopEntry(const QString& programPath);

// True when a desktop entry of this edition's name in a system data folder
// ($XDG_DATA_DIRS) starts `programPath` and a system data folder defines the
// file type.
bool RegisteredSystemWide(const QString& programPath);

// Runs a desktop tool (update-mime-database, update-desktop-database) without
// waiting. Tests replace it; an empty function restores the real one. Returns
// the previous runner.
using ToolRunner = std::function<void(const QString& program, const QStringList& arguments)>;
ToolRunner SetToolRunner(ToolRunner runner);

} // namespace FileAssociation

// Writes the MIME package, the program icon and the desktop entry in that
// order, stopping at the first write that fails; when the file type was not
// registered before and everything was written, asks the desktop's tools
// (where installed) to refresh their caches. When the program is registered
// system-wide it writes nothing and removes this edition's user desktop entry
// (which would hide the system one). `programPath` defaults to the running
// program. Returns whether every write (or the removal) succeeded.
bool RegisterFileType(const QString& programPath = QString());
