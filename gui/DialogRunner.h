#pragma once
// Runs a modal dialog. Every window of the shell runs its dialogs through
// here, so that tests can answer a dialog (fill its fields, press OK or
// Cancel) without a person at the screen.

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
