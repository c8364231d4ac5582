// "FTP Settings" through its controls, in both editions.

#include "FtpDialogSupport.h"
#include "core/MemorySettingsStore.h"
#include "ftp/CFTPSettingsDlg.h"
#include "ftp/FtpSettingsStore.h"
#include "ftp/client/FtpTexts.h"
#include "gui/QtSettingsStore.h"
#include "tests/support/FtpTestServer.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

std::u16string stored(const MemorySettingsStore& store, const char* name) {
    return store.readString("Settings", name).value_or(u"<none>");
}

int storedInt(const MemorySettingsStore& store, const char* name) {
    return store.readInt("Settings", name).value_or(-999);
}

TEST(FtpSettingsDlg, FirstUseShowsTheDefaultsAndCancelStoresNothing) {
    MemorySettingsStore store;
    MemoryVault vault(false);
    CFTPSettingsDlg dialog(store, vault);
    dialog.show();
    EXPECT_EQ(dialog.port()->text(), "21");
    EXPECT_TRUE(dialog.passive()->isChecked());
    EXPECT_FALSE(dialog.useTls()->isChecked());
    EXPECT_FALSE(dialog.anonymous()->isChecked());
    EXPECT_TRUE(dialog.host()->text().isEmpty());
    EXPECT_EQ(dialog.password()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dialog.passwordPlace()->text(), FtpTexts::passwordInFile);
    dialog.host()->setText("ftp.example.org");
    PressCancel(dialog, dialog.buttons());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(store.hasSection("Settings"));
}

TEST(FtpSettingsDlg, OkStoresEveryValueByTheRules) {
    struct Case {
        QString port;
        int storedPort;
        QString folder;
        std::u16string storedFolder;
    };
    const Case cases[] = {{"2121", 2121, "/backup/", u"/backup"},
                          {"-5", -5, "/backup//", u"/backup/"},
                          {"abc", 0, "/", u""},
                          {"", 0, "C:\\data\\", u"C:\\data"}};
    for (const Case& c : cases) {
        MemorySettingsStore store;
        MemoryVault vault(false);
        CFTPSettingsDlg dialog(store, vault);
        dialog.show();
        dialog.host()->setText("ftp.example.org");
        dialog.port()->setText(c.port);
        dialog.directory()->setText(c.folder);
        dialog.login()->setText("me");
        dialog.password()->setText("pass word");
        dialog.passive()->setChecked(false);
        dialog.useTls()->setChecked(true);
        PressOk(dialog, dialog.buttons());
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(storedInt(store, "FTPPort"), c.storedPort) << c.port.toStdString();
        EXPECT_EQ(stored(store, "FTPDirectory"), c.storedFolder) << c.folder.toStdString();
        EXPECT_EQ(stored(store, "FTPHost"), u"ftp.example.org");
        EXPECT_EQ(storedInt(store, "FTPPassiveMode"), 0);
        EXPECT_EQ(storedInt(store, "FTPUseTLS"), 1);
        EXPECT_EQ(storedInt(store, "FTPAnonymous"), 0);
        EXPECT_EQ(stored(store, "FTPLogin"), u"me");
        EXPECT_EQ(stored(store, "FTPPassword"), u"pass word");
    }
}

// Checking "Anonymous" keeps the login and password; the secret service, when
// one runs, holds the password and the settings file none.
TEST(FtpSettingsDlg, AnonymousKeepsTheLoginAndTheVaultKeepsThePassword) {
    MemorySettingsStore store;
    MemoryVault vault(true);
    {
        CFTPSettingsDlg dialog(store, vault);
        EXPECT_EQ(dialog.passwordPlace()->text(), FtpTexts::passwordInKeyring);
        dialog.login()->setText("me");
        dialog.password()->setText("secret");
        PressOk(dialog, dialog.buttons());
    }
    EXPECT_EQ(stored(store, "FTPPassword"), u"");
    EXPECT_EQ(vault.m_value, QString("secret"));
    {
        CFTPSettingsDlg dialog(store, vault);
        EXPECT_EQ(dialog.password()->text(), "secret");
        dialog.anonymous()->setChecked(true);
        PressOk(dialog, dialog.buttons());
    }
    EXPECT_EQ(storedInt(store, "FTPAnonymous"), 1);
    EXPECT_EQ(stored(store, "FTPLogin"), u"me");
    EXPECT_EQ(vault.m_value, QString("secret"));
    const FtpSettings read = ReadFtpSettings(store, vault);
    EXPECT_TRUE(read.anonymous);
    EXPECT_EQ(read.password, "secret");
}

TEST(FtpSettingsDlg, TheSettingsFileIsReadableByItsOwnerOnly) {
    ScratchDir dir;
    const QString path = QString::fromStdString((dir.path() / "settings.conf").string());
    QtSettingsStore store(path);
    MemoryVault vault(false);
    FtpSettings s;
    s.host = "h";
    s.password = "in the file";
    WriteFtpSettings(store, vault, s);
    ASSERT_TRUE(store.sync());
    struct stat st {};
    ASSERT_EQ(stat(path.toLocal8Bit().constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(ReadFtpSettings(QtSettingsStore(path), vault).password, "in the file");
}

} // namespace

namespace {

// The program's vault answers whether or not a secret service runs here: when
// one does, a password written is read back; when none does, nothing is kept
// there and the settings file holds the password.
TEST(FtpPasswordVault, TheSecretServiceHoldsThePasswordOnlyWhereItRuns) {
    PasswordVault& vault = ProgramPasswordVault();
    // Set where the test runs beside a secret service it started itself.
    if (qEnvironmentVariableIsSet("SEALBOOK_EXPECT_SECRET_SERVICE")) {
        ASSERT_TRUE(vault.available());
    }
    if (vault.available()) {
        const std::optional<QString> before = vault.read();
        ASSERT_TRUE(vault.write("vault test"));
        EXPECT_EQ(vault.read(), QString("vault test"));
        vault.write(before.value_or(QString()));
        MemorySettingsStore store;
        FtpSettings s;
        s.password = "kept in the service";
        EXPECT_TRUE(WriteFtpSettings(store, vault, s));
        EXPECT_EQ(store.readString("Settings", "FTPPassword"), u"");
        EXPECT_EQ(ReadFtpSettings(store, vault).password, "kept in the service");
        vault.write(before.value_or(QString()));
    } else {
        EXPECT_FALSE(vault.write("vault test"));
        EXPECT_FALSE(vault.read().has_value());
        MemorySettingsStore store;
        CFTPSettingsDlg dialog(store, vault);
        EXPECT_EQ(dialog.passwordPlace()->text(), FtpTexts::passwordInFile);
    }
}

} // namespace
