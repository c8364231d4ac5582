#pragma once
// "Enter Name": asks for one line of text. The caller sets the current text,
// runs the dialog and, on OK, reads the text back; any text is accepted,
// checking it is the caller's job.

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QDialogButtonBox;

class CTextDlg : public QDialog {
    Q_OBJECT

public:
    explicit CTextDlg(QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const { return m_text; }

    QLabel* label() const { return m_label; }
    QLineEdit* edit() const { return m_edit; }
    QDialogButtonBox* buttons() const { return m_buttons; }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString m_text;
    QLabel* m_label;
    QLineEdit* m_edit;
    QDialogButtonBox* m_buttons;
};
