#include "app/CLockPanel.h"

#include "app/AppTexts.h"
#include "core/Edition.h"
#include "gui/GuiHelpers.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
using AppTexts::text;
constexpr int kBoxWidth = kHandheld ? 220 : 280;
} // namespace

CLockPanel::CLockPanel(const QString& fileName, QWidget* parent)
    : QWidget(parent), m_password(new QLineEdit(this)),
      m_unlock(new QPushButton(text(AppTexts::unlockButton), this)),
      m_close(new QPushButton(text(AppTexts::closeButton), this)), m_message(new QLabel(this)) {
    setObjectName(QStringLiteral("LockPanel"));
    auto* name = new QLabel(fileName, this);
    MakeLabelBold(name);
    name->setAlignment(Qt::AlignCenter);
    auto* prompt = new QLabel(text(AppTexts::unlockPasswordLabel), this);
    prompt->setBuddy(m_password);
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setFixedWidth(kBoxWidth);
    m_message->setAlignment(Qt::AlignCenter);
    m_message->setWordWrap(true);
    m_unlock->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_unlock);
    buttons->addWidget(m_close);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addWidget(name);
    layout->addSpacing(8);
    layout->addWidget(prompt, 0, Qt::AlignHCenter);
    layout->addWidget(m_password, 0, Qt::AlignHCenter);
    layout->addWidget(m_message);
    layout->addLayout(buttons);
    layout->addStretch();

    connect(m_unlock, &QPushButton::clicked, this, &CLockPanel::unlockRequested);
    connect(m_password, &QLineEdit::returnPressed, this, &CLockPanel::unlockRequested);
    connect(m_close, &QPushButton::clicked, this, &CLockPanel::closeRequested);
}

void CLockPanel::ShowMessage(const QString& message) {
    m_message->setText(message);
}

QString CLockPanel::TakePassword() {
    QString typed = m_password->text();
    m_password->clear();
    return typed;
}
