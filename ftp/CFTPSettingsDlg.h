#pragma once
// "FTP Settings": the stored values every FTP operation reads: host, port,
// passive mode, TLS, login, password, anonymous log-in and the server folder.
// OK stores them (the folder without one trailing separator, the port as a
// signed number, 0 when the text is none); Cancel stores nothing. A line
// under the password says where it is kept.
//
//     CFTPSettingsDlg dialog(ProgramSettings(), mainWindow);
//     RunDialog(dialog);

#include <QDialog>

class PasswordVault;
class QCheckBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class SettingsStore;

class CFTPSettingsDlg : public QDialog {
    Q_OBJECT

public:
    explicit CFTPSettingsDlg(SettingsStore& store, QWidget* parent = nullptr);
    CFTPSettingsDlg(SettingsStore& store, PasswordVault& vault, QWidget* parent = nullptr);

    void accept() override;

    QLineEdit* host() const { return m_host; }
    QLineEdit* port() const { return m_port; }
    QCheckBox* passive() const { return m_passive; }
    QCheckBox* useTls() const { return m_tls; }
    QLineEdit* login() const { return m_login; }
    QLineEdit* password() const { return m_password; }
    QCheckBox* anonymous() const { return m_anonymous; }
    QLineEdit* directory() const { return m_directory; }
    QLabel* passwordPlace() const { return m_passwordPlace; }
    QDialogButtonBox* buttons() const { return m_buttons; }

private:
    SettingsStore& m_store;
    PasswordVault& m_vault;
    QLineEdit* m_host;
    QLineEdit* m_port;
    QCheckBox* m_passive;
    QCheckBox* m_tls;
    QLineEdit* m_login;
    QLineEdit* m_password;
    QCheckBox* m_anonymous;
    QLineEdit* m_directory;
    QLabel* m_passwordPlace;
    QDialogButtonBox* m_buttons;
};
