#pragma once
// Asks for the password of a database being opened, either in the masked
// password box or on the on-screen keyboard, whose clicks never pass through
// the physical keyboard. It only collects a string: checking it is the
// caller's business, which may hand the dialog slow work to run with the
// password on OK (a key to derive) while a busy bar turns.

#include "dialogs/PasswordKeyboard.h"

#include <QDialog>
#include <QString>
#include <array>
#include <functional>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

class CPasswordDlg : public QDialog {
    Q_OBJECT
public:
    explicit CPasswordDlg(QWidget* parent = nullptr);

    // The password handed back on OK: the keys typed when the keyboard was
    // shown, else the text of the password box.
    QString password() const { return m_result; }

    // Work run with the password on OK, off the user-interface thread, before
    // the dialog closes; the dialog shows a busy bar and takes no input meanwhile.
    using Work = std::function<void(const QString& password)>;
    void setWork(Work work) { m_work = std::move(work); }
    QProgressBar* busyBar() const { return m_busy; }

    // Whether the on-screen keyboard is shown: one flag for every password
    // prompt of this run, false at start and never saved.
    static bool IsKeyboardShown();
    static void SetKeyboardShown(bool shown);

    const PasswordKeyboard& keyboard() const { return m_keyboard; }
    QLineEdit* passwordBox() const { return m_box; }
    QLabel* promptLabel() const { return m_prompt; }
    QLabel* toggleLabel() const { return m_toggle; }
    QPushButton* key(int index) const { return m_keys[static_cast<size_t>(index)]; }
    QDialogButtonBox* buttons() const { return m_buttons; }
    // The area holding every control (the dialog less its handheld soft-key bar).
    QWidget* clientArea() const { return m_client; }

    void OnToggle();
    void OnKey(int index);
    void accept() override;
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LayOut();
    void ApplyKeyboardState();
    void SetKeyCaptions();

    Work m_work;
    bool m_working = false;
    QString m_result;
    QString m_boxText;
    PasswordKeyboard m_keyboard;

    QWidget* m_client = nullptr;
    QLabel* m_prompt = nullptr;
    QLineEdit* m_box = nullptr;
    QLabel* m_toggle = nullptr;
    QProgressBar* m_busy = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    std::array<QPushButton*, PasswordKeyboard::kKeyCount> m_keys{};
};
