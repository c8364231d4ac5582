#include "ftp/FtpSettingsStore.h"

#include "ftp/PasswordVault.h"
#include "gui/SettingsTable.h"

namespace {

std::string text(const SettingsStore& store, Setting id) {
    return ReadStringSetting(store, id).toStdString();
}

} // namespace

FtpSettings ReadFtpSettings(const SettingsStore& store, PasswordVault& vault) {
    FtpSettings s;
    s.host = text(store, Setting::FtpHost);
    s.port = ReadNumberSetting(store, Setting::FtpPort);
    s.passive = ReadNumberSetting(store, Setting::FtpPassiveMode) != 0;
    s.login = text(store, Setting::FtpLogin);
    s.anonymous = ReadNumberSetting(store, Setting::FtpAnonymous) != 0;
    s.directory = text(store, Setting::FtpDirectory);
    s.useTls = ReadNumberSetting(store, Setting::FtpUseTls) != 0;
    // A password left in the file from before the secret service ran still counts.
    const auto kept = vault.read();
    s.password = kept ? kept->toStdString() : text(store, Setting::FtpPassword);
    return s;
}

bool WriteFtpSettings(SettingsStore& store, PasswordVault& vault, const FtpSettings& s) {
    const auto q = [](const std::string& v) { return QString::fromStdString(v); };
    WriteStringSetting(store, Setting::FtpHost, q(s.host));
    WriteNumberSetting(store, Setting::FtpPort, s.port);
    WriteNumberSetting(store, Setting::FtpPassiveMode, s.passive ? 1 : 0);
    WriteStringSetting(store, Setting::FtpLogin, q(s.login));
    WriteNumberSetting(store, Setting::FtpAnonymous, s.anonymous ? 1 : 0);
    WriteStringSetting(store, Setting::FtpDirectory, q(s.directory));
    WriteNumberSetting(store, Setting::FtpUseTls, s.useTls ? 1 : 0);
    const bool inVault = vault.write(q(s.password));
    WriteStringSetting(store, Setting::FtpPassword, inVault ? QString() : q(s.password));
    return inVault;
}
