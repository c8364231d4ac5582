#pragma once
// The programs' own command line: --help, --version and at most one database
// path. It is read before the application object exists, so that --help and
// --version answer without a display and an unknown option is refused before
// any window opens. Qt's own options (-platform, -style, -session ...) are
// accepted and left to Qt.

#include <QString>
#include <QStringList>

struct ProgramOptions {
    enum class Action { Run, Help, Version, Refuse };

    // `arguments` as the program received them, the program's name first.
    static ProgramOptions Parse(const QStringList& arguments);

    // Help and Version print `text` on standard output and end with 0;
    // Refuse prints it on standard error and ends with kRefusedStatus.
    int Report() const;

    static constexpr int kRefusedStatus = 2;

    Action action = Action::Run;
    QString database; // empty: none given
    QString text;
};
