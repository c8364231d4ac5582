#pragma once
// What the main window shows while the database is locked: the file's name,
// a password box, Unlock and Close, and a line for what went wrong. Nothing
// of the database is on it.

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

class CLockPanel : public QWidget {
    Q_OBJECT
public:
    CLockPanel(const QString& fileName, QWidget* parent = nullptr);

    QLineEdit* passwordBox() const { return m_password; }
    QPushButton* unlockButton() const { return m_unlock; }
    QPushButton* closeButton() const { return m_close; }
    QLabel* messageLine() const { return m_message; }

    void ShowMessage(const QString& text);
    // The typed password, taken out of the box (which is emptied).
    QString TakePassword();

signals:
    void unlockRequested();
    void closeRequested();

private:
    QLineEdit* m_password;
    QPushButton* m_unlock;
    QPushButton* m_close;
    QLabel* m_message;
};
