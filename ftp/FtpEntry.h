#pragma once
// The main window's FTP commands: the checks before the manager opens (no
// unsaved changes, a host set), then the dialogs, run modally.

#include <QString>

class QWidget;
class SettingsStore;

// Shows "Please save your work and then try again." when the database has
// unsaved changes, "Please check your FTP settings and then try again." when
// no host is stored, else runs the FTP manager. False when a check refused.
bool OpenFtpManager(QWidget* parent, SettingsStore& store, bool databaseModified);

// Runs the FTP settings dialog.
void OpenFtpSettings(QWidget* parent, SettingsStore& store);
