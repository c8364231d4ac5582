#include "gui/SettingsTable.h"

#include "gui/GuiHelpers.h"
#include "gui/QtSettingsStore.h"

#include <cassert>
#include <iterator>

namespace {

constexpr SettingDef kSettings[] = {
    {Setting::StartUpPath, "Settings", "StartUpPath", SettingKind::String, nullptr, 0},
    {Setting::FtpHost, "Settings", "FTPHost", SettingKind::String, "", 0},
    {Setting::FtpPort, "Settings", "FTPPort", SettingKind::Number, nullptr, 21},
    {Setting::FtpPassiveMode, "Settings", "FTPPassiveMode", SettingKind::Number, nullptr, 1},
    {Setting::FtpLogin, "Settings", "FTPLogin", SettingKind::String, "", 0},
    {Setting::FtpPassword, "Settings", "FTPPassword", SettingKind::String, "", 0},
    {Setting::FtpAnonymous, "Settings", "FTPAnonymous", SettingKind::Number, nullptr, 0},
    {Setting::FtpDirectory, "Settings", "FTPDirectory", SettingKind::String, "", 0},
    {Setting::FtpUseTls, "Settings", "FTPUseTLS", SettingKind::Number, nullptr, 0},
    {Setting::LastFileDialogFolder, "Settings", "LastFileDialogFolder", SettingKind::String, nullptr, 0},
    {Setting::LayoutMain, "Layout", "Main", SettingKind::Binary, nullptr, 0},
    {Setting::LayoutPreview, "Layout", "Preview", SettingKind::Binary, nullptr, 0},
    {Setting::LayoutPreviewDock, "Layout", "PreviewDock", SettingKind::Binary, nullptr, 0},
    // Seconds; 0 is never.
    {Setting::LockAfterIdleSeconds, "Settings", "LockAfterIdleSeconds", SettingKind::Number, nullptr, 300},
    {Setting::ClipboardClearSeconds, "Settings", "ClipboardClearSeconds", SettingKind::Number, nullptr, 15},
};

} // namespace

const SettingDef& SettingDefinition(Setting id) {
    for (const SettingDef& def : kSettings)
        if (def.id == id)
            return def;
    assert(false && "setting missing from the table");
    return kSettings[0];
}

QString ReadStringSetting(const SettingsStore& store, Setting id) {
    const SettingDef& def = SettingDefinition(id);
    assert(def.kind == SettingKind::String);
    if (const auto value = store.readString(def.section, def.name))
        return QString::fromStdU16String(*value);
    if (id == Setting::StartUpPath)
        return DocumentsFolder();
    if (id == Setting::LastFileDialogFolder)
        return ReadStringSetting(store, Setting::StartUpPath);
    return QString::fromUtf8(def.stringDefault);
}

void WriteStringSetting(SettingsStore& store, Setting id, const QString& value) {
    const SettingDef& def = SettingDefinition(id);
    assert(def.kind == SettingKind::String);
    store.writeString(def.section, def.name, value.toStdU16String());
}

int ReadNumberSetting(const SettingsStore& store, Setting id) {
    const SettingDef& def = SettingDefinition(id);
    assert(def.kind == SettingKind::Number);
    return store.getInt(def.section, def.name, def.numberDefault);
}

void WriteNumberSetting(SettingsStore& store, Setting id, int value) {
    const SettingDef& def = SettingDefinition(id);
    assert(def.kind == SettingKind::Number);
    store.writeInt(def.section, def.name, value);
}

QByteArray ReadLayoutSetting(Setting id) {
    const SettingDef& def = SettingDefinition(id);
    assert(def.kind == SettingKind::Binary);
    QByteArray value;
    if (!ReadBinarySetting(QString::fromUtf8(def.section), QString::fromUtf8(def.name), value, true))
        return {};
    return value;
}

bool WriteLayoutSetting(Setting id, const QByteArray& value) {
    const SettingDef& def = SettingDefinition(id);
    assert(def.kind == SettingKind::Binary);
    return WriteBinarySetting(QString::fromUtf8(def.section), QString::fromUtf8(def.name), value, true);
}

SettingsStore& ProgramSettings() {
    static QtSettingsStore store;
    return store;
}
