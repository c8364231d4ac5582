#include "ftp/FtpEntry.h"

#include "ftp/CFTPManagerDlg.h"
#include "ftp/CFTPSettingsDlg.h"
#include "ftp/client/FtpTexts.h"
#include "gui/DialogRunner.h"
#include "gui/MessageBox.h"
#include "gui/SettingsTable.h"

bool OpenFtpManager(QWidget* parent, SettingsStore& store, bool databaseModified) {
    if (databaseModified) {
        ShowMessageBox(parent, QString::fromUtf8(FtpTexts::saveFirst), MessageIcon::Stop);
        return false;
    }
    if (ReadStringSetting(store, Setting::FtpHost).isEmpty()) {
        ShowMessageBox(parent, QString::fromUtf8(FtpTexts::checkSettings), MessageIcon::Stop);
        return false;
    }
    CFTPManagerDlg dialog(store, parent);
    RunDialog(dialog);
    return true;
}

void OpenFtpSettings(QWidget* parent, SettingsStore& store) {
    CFTPSettingsDlg dialog(store, parent);
    RunDialog(dialog);
}
