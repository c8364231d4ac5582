#include "app/CAboutDlg.h"

#include "app/AppTexts.h"
#include "core/Edition.h"
#include "gui/ControlTexts.h"
#include "gui/DialogMenuBar.h"
#include "gui/GuiHelpers.h"
#include "gui/IconLists.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#ifndef SEALBOOK_SHORT_VERSION
#error "SEALBOOK_SHORT_VERSION (the project version, major.minor) is defined by the build"
#endif

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent), m_icon(new QLabel(this)),
      m_text(new QLabel(QString::fromUtf8(AppTexts::aboutText).arg(QStringLiteral(SEALBOOK_SHORT_VERSION)),
                        this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok, this)) {
    setWindowTitle(QString::fromUtf8(AppTexts::aboutTitle));
    m_icon->setPixmap(LoadAppIcon(IconLists::kProgramIconId, true));
    m_icon->setFixedSize(IconLists::kLargeSize, IconLists::kLargeSize);
    m_buttons->button(QDialogButtonBox::Ok)->setText(QString::fromUtf8(ControlTexts::ok));
    connect(m_buttons, &QDialogButtonBox::accepted, this, &CAboutDlg::accept);

    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(m_icon, 0, Qt::AlignTop);
    row->addSpacing(12);
    row->addWidget(m_text, 1, Qt::AlignVCenter);
    layout->addLayout(row);
    layout->addStretch(1);
    layout->addWidget(m_buttons);
    CreateDialogMenuBar(this, m_buttons);
    if (!kHandheld)
        layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CAboutDlg::keyPressEvent(QKeyEvent* event) {
    // The handheld box has no visible button to take Enter, so Enter closes
    // the box itself in both editions.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
