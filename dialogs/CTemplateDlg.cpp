#include "dialogs/CTemplateDlg.h"

#include "core/Edition.h"
#include "core/Texts.h"
#include "dialogs/DialogTexts.h"
#include "gui/DialogMenuBar.h"
#include "gui/GuiHelpers.h"
#include "gui/MessageBox.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <limits>

namespace {
// Template names and captions have no length limit; a shorter limit would cut
// stored texts when they are shown and written back.
void unlimit(QLineEdit* box) {
    box->setMaxLength(std::numeric_limits<int>::max());
}
} // namespace

CTemplateDlg::CTemplateDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(
        QString::fromUtf8(kHandheld ? DialogTexts::templateTitlePad : DialogTexts::templateTitleDesk));

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    m_nameLabel = new QLabel(QString::fromUtf8(DialogTexts::templateName), this);
    m_nameBox = new QLineEdit(this);
    unlimit(m_nameBox);
    m_nameLabel->setBuddy(m_nameBox);
    MakeLabelBold(m_nameLabel);
    MakeLabelBold(m_nameBox);
    grid->addWidget(m_nameLabel, 0, 0);
    grid->addWidget(m_nameBox, 0, 1);
    for (int i = 0; i < kFieldCount; ++i) {
        auto* label = new QLabel(QString::fromUtf8(DialogTexts::captionLabel).arg(i + 1), this);
        auto* box = new QLineEdit(this);
        unlimit(box);
        label->setBuddy(box);
        grid->addWidget(label, i + 1, 0);
        grid->addWidget(box, i + 1, 1);
        m_captionBoxes[static_cast<size_t>(i)] = box;
    }
    grid->setColumnStretch(1, 1);
    // Room for a typical caption without scrolling; the boxes grow with the dialog.
    m_nameBox->setMinimumWidth(m_nameBox->fontMetrics().averageCharWidth() * 32);

    auto* layout = new QVBoxLayout(this);
    // The boxes reach to 5 pixels from the right edge at any width.
    layout->setContentsMargins(8, 8, 5, 8);
    layout->addLayout(grid);
    layout->addStretch(1);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setText(QString::fromUtf8(DialogTexts::ok));
    m_buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8(DialogTexts::cancel));
    if (!kHandheld) {
        auto* line = new QFrame(this);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        layout->addWidget(line);
    }
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &CTemplateDlg::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &CTemplateDlg::reject);
    CreateDialogMenuBar(this, m_buttons);

    m_nameBox->setFocus();
}

void CTemplateDlg::setValues(const TemplateRecord& from) {
    m_name = QString::fromStdU16String(from.name);
    m_nameBox->setText(m_name);
    for (int i = 0; i < kFieldCount; ++i) {
        m_captions[static_cast<size_t>(i)] = QString::fromStdU16String(from.captions[static_cast<size_t>(i)]);
        m_captionBoxes[static_cast<size_t>(i)]->setText(m_captions[static_cast<size_t>(i)]);
    }
}

void CTemplateDlg::copyTo(TemplateRecord& to) const {
    to.name = m_name.toStdU16String();
    for (size_t i = 0; i < static_cast<size_t>(kFieldCount); ++i)
        to.captions[i] = m_captions[i].toStdU16String();
}

void CTemplateDlg::accept() {
    m_name = m_nameBox->text();
    for (size_t i = 0; i < static_cast<size_t>(kFieldCount); ++i)
        m_captions[i] = m_captionBoxes[i]->text();

    if (m_name.isEmpty()) {
        const QString text = kHandheld ? QString::fromUtf8(DialogTexts::emptyTitlePad)
                                       : QString::fromStdU16String(Texts::emptyTitle);
        ShowMessageBox(this, text, MessageIcon::Exclamation);
        m_nameBox->setFocus();
        return;
    }
    if (m_nameTaken && m_nameTaken(m_name)) {
        ShowMessageBox(this, QString::fromUtf8(DialogTexts::templateNameTaken).arg(m_name),
                       MessageIcon::Exclamation);
        m_nameBox->setFocus();
        m_nameBox->selectAll();
        return;
    }
    // Only the first caption is required: later ones may be left out, even
    // with a filled one after them.
    if (m_captions[0].isEmpty()) {
        ShowMessageBox(this, QString::fromUtf8(DialogTexts::emptyCaption1), MessageIcon::Exclamation);
        m_captionBoxes[0]->setFocus();
        return;
    }
    QDialog::accept();
}
