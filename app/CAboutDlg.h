#pragma once
// The about box: the program icon and the program's name and version. Modal;
// Enter, Escape and the close box close it.

#include <QDialog>

class QDialogButtonBox;
class QLabel;

class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    QLabel* iconLabel() const { return m_icon; }
    QLabel* textLabel() const { return m_text; }
    QDialogButtonBox* buttons() const { return m_buttons; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* m_icon;
    QLabel* m_text;
    QDialogButtonBox* m_buttons;
};
