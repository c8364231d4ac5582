#pragma once
// "Database Properties": the database's title, description, password and
// protection. The dialog only collects and checks the four strings (the
// repeat box guards the password against typing errors) and the kind of file
// (strong protection needs a password); the caller takes the values from the
// database and puts them back.

#include "core/Protection.h"

#include <QDialog>
#include <QString>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

class CDatabaseProperties : public QDialog {
    Q_OBJECT
public:
    explicit CDatabaseProperties(QWidget* parent = nullptr);

    // The four strings: set before running (they fill the boxes), read after OK.
    void setTitle(const QString& title);
    void setDescription(const QString& description);
    void setPassword(const QString& password);
    void setRepeat(const QString& repeat);
    QString title() const { return m_title; }
    QString description() const { return m_description; }
    QString password() const { return m_password; }
    QString repeat() const { return m_repeat; }
    void setProtection(Protection protection);
    Protection protection() const { return m_protection; }

    QLabel* iconLabel() const { return m_icon; }
    QLineEdit* titleBox() const { return m_titleBox; }
    QPlainTextEdit* descriptionBox() const { return m_descriptionBox; }
    QLineEdit* passwordBox() const { return m_passwordBox; }
    QLineEdit* repeatBox() const { return m_repeatBox; }
    QLabel* passwordLabel() const { return m_passwordLabel; }
    QLabel* repeatLabel() const { return m_repeatLabel; }
    QLabel* protectionLabel() const { return m_protectionLabel; }
    QRadioButton* compatibleButton() const { return m_compatible; }
    QRadioButton* strongButton() const { return m_strong; }
    QDialogButtonBox* buttons() const { return m_buttons; }
    // The area holding every control (the dialog less its buttons or soft-key bar).
    QWidget* clientArea() const { return m_client; }

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LayOutDesktop();
    // Handheld: follows the size of the client area (margins of 5 pixels).
    void LayOutHandheld();
    // Places the protection choice from `top` over `width`; returns its bottom.
    int LayOutProtection(int top, int width);

    QString m_title, m_description, m_password, m_repeat;
    Protection m_protection = Protection::Compatible;

    QWidget* m_client = nullptr;
    QLabel* m_icon = nullptr;
    QLabel* m_titleLabel = nullptr;
    QLineEdit* m_titleBox = nullptr;
    QPlainTextEdit* m_descriptionBox = nullptr;
    QLabel* m_passwordLabel = nullptr;
    QLineEdit* m_passwordBox = nullptr;
    QLabel* m_repeatLabel = nullptr;
    QLineEdit* m_repeatBox = nullptr;
    QLabel* m_protectionLabel = nullptr;
    QRadioButton* m_compatible = nullptr;
    QLabel* m_compatibleNote = nullptr;
    QRadioButton* m_strong = nullptr;
    QLabel* m_strongNote = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};
