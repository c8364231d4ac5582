#pragma once
// What the FTP dialog tests share: a vault held in memory, the message-box
// and dialog-runner seams answered by the test, and the dialogs' commands
// pressed the way each edition offers them.

#include "core/Edition.h"
#include "ftp/PasswordVault.h"
#include "gui/DialogMenuBar.h"
#include "gui/DialogRunner.h"
#include "gui/FileDialogs.h"
#include "gui/MessageBox.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QMenu>
#include <QPushButton>
#include <QTest>

class MemoryVault : public PasswordVault {
public:
    explicit MemoryVault(bool available) : m_available(available) {}
    bool available() override { return m_available; }
    std::optional<QString> read() override { return m_available ? m_value : std::nullopt; }
    bool write(const QString& password) override {
        if (!m_available)
            return false;
        m_value = password;
        return true;
    }
    std::optional<QString> m_value;

private:
    bool m_available;
};

// Message boxes answered with `answer`; every text and icon shown is kept.
struct MessageRecorder {
    explicit MessageRecorder(MessageAnswer answer = MessageAnswer::Ok) {
        previous = SetMessageBoxHandler(
            [this, answer](QWidget*, const QString& text, MessageIcon icon, MessageButtons) {
                texts << text;
                icons << icon;
                return answer;
            });
    }
    ~MessageRecorder() {
        SetMessageBoxHandler(previous);
        FileDialogs::ClearQueue();
    }
    QStringList texts;
    QList<MessageIcon> icons;
    MessageBoxHandler previous;
};

// The dialog's OK: the button on the desktop, the left soft key on the handheld.
inline void PressOk(QDialog& dialog, QDialogButtonBox* buttons) {
    if constexpr (kHandheld)
        DialogMenuBar::Find(&dialog)->leftKey()->trigger();
    else
        buttons->button(QDialogButtonBox::Ok)->click();
}

inline void PressCancel(QDialog& dialog, QDialogButtonBox* buttons) {
    if constexpr (kHandheld)
        DialogMenuBar::Find(&dialog)->rightKey()->trigger();
    else
        buttons->button(QDialogButtonBox::Cancel)->click();
}
