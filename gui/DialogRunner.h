#pragma once
// Runs a modal dialog. Every window of the shell runs its dialogs through
// here, so that tests can answer a dialog (fill its fields, press OK or
// Cancel) without a person at the screen, and so that a locked program can
// hide the dialogs open on screen and bring them back as they were.

#include <functional>

class QDialog;

// Shows the dialog modally and returns its result (QDialog::Accepted or Rejected).
int RunDialog(QDialog& dialog);

// Replaces the runner (an empty function restores exec()); returns the previous one.
// The handler gets the constructed dialog and returns the result it should end with.
using DialogRunnerHandler = std::function<int(QDialog&)>;
DialogRunnerHandler SetDialogRunner(DialogRunnerHandler handler);

// How many dialogs are running through RunDialog right now.
int RunningDialogCount();

// QDialog::exec() for the dialogs that tests never answer through the runner
// (message boxes, nested editors): it too keeps a dialog alive while it is
// hidden by SuspendDialogs.
int ExecDialog(QDialog& dialog);

// Hides every modal dialog on screen without ending it: each waits, hidden,
// with what was typed in it, until ResumeDialogs. `showAgain` false ends
// them as cancelled instead (the program is closing).
void SuspendDialogs();
void ResumeDialogs(bool showAgain);
bool AreDialogsSuspended();
