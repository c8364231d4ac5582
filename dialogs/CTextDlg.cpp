#include "dialogs/CTextDlg.h"

#include "gui/ControlTexts.h"
#include "gui/DialogMenuBar.h"
#include "gui/GuiHelpers.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// The edit box keeps its right edge this far from the dialog's right edge.
constexpr int kRightGap = 5;
} // namespace

CTextDlg::CTextDlg(QWidget* parent)
    : QDialog(parent), m_label(new QLabel(QString::fromUtf8(ControlTexts::enterNameLabel), this)),
      m_edit(new QLineEdit(this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)) {
    setWindowTitle(QString::fromUtf8(ControlTexts::enterNameTitle));
    m_buttons->button(QDialogButtonBox::Ok)->setText(QString::fromUtf8(ControlTexts::ok));
    m_buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8(ControlTexts::cancel));
    m_label->setBuddy(m_edit);

    auto* layout = new QVBoxLayout(this);
    QMargins margins = layout->contentsMargins();
    margins.setRight(kRightGap);
    layout->setContentsMargins(margins);
    layout->addWidget(m_label);
    layout->addWidget(m_edit);
    layout->addStretch(1);
    layout->addWidget(m_buttons);

    connect(m_buttons, &QDialogButtonBox::accepted, this, &CTextDlg::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &CTextDlg::reject);

    MakeLabelBold(m_label);
    CreateDialogMenuBar(this, m_buttons);
}

void CTextDlg::setText(const QString& text) {
    m_text = text;
    m_edit->setText(text);
}

void CTextDlg::showEvent(QShowEvent* event) {
    m_edit->setText(m_text);
    m_edit->selectAll();
    m_edit->setFocus();
    QDialog::showEvent(event);
}

void CTextDlg::accept() {
    m_text = m_edit->text();
    QDialog::accept();
}
