#pragma once
// Options: the program's settings that are not the FTP server's, on pages.
// The "Security" page chooses how long the program waits without input
// before it locks the database, and how long a copied value stays on the
// clipboard. OK writes the choices to the settings store.

#include <QDialog>

class QComboBox;
class QTabWidget;
class SettingsStore;

class COptionsDlg : public QDialog {
    Q_OBJECT
public:
    // The offered times in seconds; 0 is "Never".
    static constexpr int kIdleChoices[] = {0, 60, 120, 300, 600, 1800};
    static constexpr int kClipboardChoices[] = {0, 10, 15, 30, 60};

    COptionsDlg(SettingsStore& settings, QWidget* parent = nullptr);

    QTabWidget* pages() const { return m_pages; }
    QComboBox* idleChoice() const { return m_idle; }
    QComboBox* clipboardChoice() const { return m_clipboard; }

    void accept() override;

private:
    SettingsStore& m_settings;
    QTabWidget* m_pages;
    QComboBox* m_idle;
    QComboBox* m_clipboard;
};
