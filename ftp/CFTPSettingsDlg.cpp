#include "ftp/CFTPSettingsDlg.h"

#include "ftp/FtpSettingsStore.h"
#include "ftp/PasswordVault.h"
#include "ftp/client/FtpTexts.h"
#include "ftp/client/RemotePaths.h"
#include "gui/ControlTexts.h"
#include "gui/DialogMenuBar.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString text(const char* t) {
    return QString::fromUtf8(t);
}

} // namespace

CFTPSettingsDlg::CFTPSettingsDlg(SettingsStore& store, QWidget* parent)
    : CFTPSettingsDlg(store, ProgramPasswordVault(), parent) {}

CFTPSettingsDlg::CFTPSettingsDlg(SettingsStore& store, PasswordVault& vault, QWidget* parent)
    : QDialog(parent), m_store(store), m_vault(vault), m_host(new QLineEdit(this)),
      m_port(new QLineEdit(this)), m_passive(new QCheckBox(text(FtpTexts::passiveMode), this)),
      m_tls(new QCheckBox(text(FtpTexts::useTls), this)), m_login(new QLineEdit(this)),
      m_password(new QLineEdit(this)), m_anonymous(new QCheckBox(text(FtpTexts::anonymous), this)),
      m_directory(new QLineEdit(this)), m_passwordPlace(new QLabel(this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)) {
    setWindowTitle(text(FtpTexts::settingsTitle));
    m_password->setEchoMode(QLineEdit::Password);
    m_passwordPlace->setWordWrap(true);
    m_buttons->button(QDialogButtonBox::Ok)->setText(text(ControlTexts::ok));
    m_buttons->button(QDialogButtonBox::Cancel)->setText(text(ControlTexts::cancel));

    auto* hostGroup = new QGroupBox(text(FtpTexts::hostGroup), this);
    auto* hostForm = new QFormLayout(hostGroup);
    hostForm->addRow(text(FtpTexts::host), m_host);
    hostForm->addRow(text(FtpTexts::port), m_port);
    auto* modes = new QHBoxLayout;
    modes->addWidget(m_passive);
    modes->addWidget(m_tls);
    modes->addStretch(1);
    hostForm->addRow(modes);

    auto* loginGroup = new QGroupBox(text(FtpTexts::loginGroup), this);
    auto* loginForm = new QFormLayout(loginGroup);
    loginForm->addRow(text(FtpTexts::login), m_login);
    loginForm->addRow(text(FtpTexts::password), m_password);
    loginForm->addRow(m_anonymous);
    loginForm->addRow(m_passwordPlace);

    auto* directoryForm = new QFormLayout;
    directoryForm->addRow(text(FtpTexts::directory), m_directory);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hostGroup);
    layout->addWidget(loginGroup);
    layout->addLayout(directoryForm);
    layout->addStretch(1);
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &CFTPSettingsDlg::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &CFTPSettingsDlg::reject);
    CreateDialogMenuBar(this, m_buttons);

    const FtpSettings s = ReadFtpSettings(m_store, m_vault);
    m_host->setText(QString::fromStdString(s.host));
    m_port->setText(QString::number(s.port));
    m_passive->setChecked(s.passive);
    m_tls->setChecked(s.useTls);
    m_login->setText(QString::fromStdString(s.login));
    m_password->setText(QString::fromStdString(s.password));
    m_anonymous->setChecked(s.anonymous);
    m_directory->setText(QString::fromStdString(s.directory));
    m_passwordPlace->setText(
        text(m_vault.available() ? FtpTexts::passwordInKeyring : FtpTexts::passwordInFile));
}

void CFTPSettingsDlg::accept() {
    FtpSettings s;
    s.host = m_host->text().toStdString();
    bool isNumber = false;
    const int port = m_port->text().trimmed().toInt(&isNumber);
    s.port = isNumber ? port : 0;
    s.passive = m_passive->isChecked();
    s.useTls = m_tls->isChecked();
    s.login = m_login->text().toStdString();
    s.password = m_password->text().toStdString();
    s.anonymous = m_anonymous->isChecked();
    s.directory = TrimFolder(m_directory->text().toStdString());
    WriteFtpSettings(m_store, m_vault, s);
    QDialog::accept();
}
