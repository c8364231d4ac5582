#pragma once
// Where the help commands find the manual: beside the program (a build folder,
// or a program folder copied as a whole), else in the documentation folder of
// an installation, found relative to the program so that an installation
// under any prefix (or a staging folder) finds its own.

#include <QString>

namespace HelpFiles {

// The installation's documentation folder for a program in `programDir`.
QString InstalledDocFolder(const QString& programDir);

// The help file `fileName` for a program in `programDir`: the first of the
// two places that holds it; the place beside the program when neither does.
QString Locate(const QString& programDir, const QString& fileName);

// Opens the help file `fileName` of a program in `programDir` through the
// shell. Returns the message to show when it cannot (the file is missing, or
// no program opens it), naming the file; empty when it was opened.
QString Open(const QString& programDir, const QString& fileName);

} // namespace HelpFiles
