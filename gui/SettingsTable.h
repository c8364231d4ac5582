#pragma once
// Every value of the program's settings store, declared once: its section,
// name, kind and the default that applies whenever it is missing. Windows read
// and write settings only through this table.

#include "core/SettingsStore.h"

#include <QByteArray>
#include <QString>

enum class Setting {
    StartUpPath,
    FtpHost,
    FtpPort,
    FtpPassiveMode,
    FtpLogin,
    FtpPassword,
    FtpAnonymous,
    FtpDirectory,
    FtpUseTls,
    LastFileDialogFolder,
    LayoutMain,
    LayoutPreview,
    LayoutPreviewDock,
    LockAfterIdleSeconds,
    ClipboardClearSeconds,
};

enum class SettingKind { String, Number, Binary };

struct SettingDef {
    Setting id;
    const char* section;
    const char* name;
    SettingKind kind;
    // Strings and numbers; a string default of nullptr means "worked out at
    // run time" (the documents folder for StartUpPath, the start-up dialog's
    // folder for LastFileDialogFolder). Binary values have no
    // stored default: the reader decides what a missing value means.
    const char* stringDefault;
    int numberDefault;
};

const SettingDef& SettingDefinition(Setting id);

// Typed access through the table. Reading a value of the wrong kind is a
// programming error and asserts.
QString ReadStringSetting(const SettingsStore& store, Setting id);
void WriteStringSetting(SettingsStore& store, Setting id, const QString& value);
int ReadNumberSetting(const SettingsStore& store, Setting id);
void WriteNumberSetting(SettingsStore& store, Setting id, int value);

// The layout values go through the binary helpers, always for the current
// user only; an empty array when the value is missing.
QByteArray ReadLayoutSetting(Setting id);
bool WriteLayoutSetting(Setting id, const QByteArray& value);

// The program's own settings store (the user's settings file).
SettingsStore& ProgramSettings();
