#pragma once
// The FTP values of the settings store, read and written through the settings
// table, with the password in the vault when one is available. Every FTP
// operation reads them afresh.

#include "ftp/client/FtpSettings.h"

class PasswordVault;
class SettingsStore;

// The stored values with their defaults (port 21, passive mode on).
FtpSettings ReadFtpSettings(const SettingsStore& store, PasswordVault& vault);

// Stores every value as given (the folder as it is: trimming is the dialog's
// rule). The password goes into the vault when it is available and the
// settings file then keeps none; returns true when the vault holds it.
bool WriteFtpSettings(SettingsStore& store, PasswordVault& vault, const FtpSettings& settings);
