#pragma once
// Where the FTP password is kept: the desktop's secret service when one runs,
// else nowhere but the settings file (which is readable by its owner only).
// Tests put their own vault in place of the program's.

#include <QString>
#include <optional>

class PasswordVault {
public:
    virtual ~PasswordVault() = default;
    // True when a secret service answers.
    virtual bool available() = 0;
    // The stored password; nothing when none is stored or the service fails.
    virtual std::optional<QString> read() = 0;
    virtual bool write(const QString& password) = 0;
};

// The secret service through qtkeychain; whether one runs is asked once.
PasswordVault& ProgramPasswordVault();

// A vault that is never available: the password stays in the settings file.
PasswordVault& NoPasswordVault();
