#include "dialogs/CReminderAlerts.h"

#include "core/Edition.h"
#include "core/NotesMgr.h"
#include "core/ReminderPass.h"
#include "dialogs/CNotePropSheet.h"
#include "dialogs/DialogTexts.h"
#include "dialogs/PropSheetTexts.h"
#include "gui/DialogMenuBar.h"
#include "gui/DialogRunner.h"
#include "gui/GuiHelpers.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kNoteRole = Qt::UserRole;
}

CReminderAlerts::CReminderAlerts(NotesMgr& notes, const std::vector<int32_t>& dueIds, QWidget* parent)
    : QDialog(parent), m_notes(notes) {
    setWindowTitle(QString::fromUtf8(DialogTexts::reminderTitle));
    auto* label = new QLabel(QString::fromUtf8(DialogTexts::reminderLabel), this);
    MakeLabelBold(label);
    m_list = new QListWidget(this);
    label->setBuddy(m_list);
    for (const int32_t id : dueIds) {
        const NoteRecord* note = m_notes.FindNode(id);
        if (!note)
            continue;
        auto* row = new QListWidgetItem(QString::fromStdU16String(note->title), m_list);
        row->setData(kNoteRole, id);
    }
    m_open = new QPushButton(QString::fromUtf8(DialogTexts::openButton), this);
    m_close = new QPushButton(QString::fromUtf8(DialogTexts::close), this);
    m_open->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_list, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_open);
    buttons->addWidget(m_close);
    layout->addLayout(buttons);

    connect(m_open, &QPushButton::clicked, this, &CReminderAlerts::OnOpen);
    connect(m_close, &QPushButton::clicked, this, &CReminderAlerts::reject);
    // Return reaches Open through the default button (the left soft key on
    // the handheld); the list itself answers only a double click, so that
    // Return does not open the note twice.
    connect(m_list, &QListWidget::itemDoubleClicked, this, &CReminderAlerts::OnOpen);

    if constexpr (kHandheld) {
        // Open and Close on the soft keys.
        auto* openKey = new QAction(m_open->text(), this);
        auto* closeKey = new QAction(m_close->text(), this);
        connect(openKey, &QAction::triggered, m_open, &QPushButton::click);
        connect(closeKey, &QAction::triggered, m_close, &QPushButton::click);
        if (CreateDialogMenuBar(this, openKey, closeKey)) {
            m_open->hide();
            m_close->hide();
            DialogMenuBar::Find(this)->setLeftKeyOnReturn(true);
        }
    }
    // The first note is selected, so that Open and Return work at once.
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
    m_list->setFocus();
    resize(kHandheld ? QSize(240, 240) : QSize(300, 220));
}

int32_t CReminderAlerts::rowNote(int row) const {
    const QListWidgetItem* item = m_list->item(row);
    return item ? item->data(kNoteRole).toInt() : -1;
}

void CReminderAlerts::OnOpen() {
    QListWidgetItem* row = m_list->currentItem();
    if (!row || !row->isSelected())
        return;
    const NoteRecord* stored = m_notes.FindNode(row->data(kNoteRole).toInt());
    if (!stored)
        return;
    NoteRecord copy = *stored;
    CNotePropSheet sheet(m_notes, copy, copy.isFolder != 0, QString::fromUtf8(PropSheetTexts::caption), this);
    if (RunDialog(sheet) != QDialog::Accepted)
        return;
    if (!ApplyOpenedReminder(m_notes, copy))
        return;
    row->setText(QString::fromStdU16String(copy.title));
    emit noteWritten(copy.nodeId);
}
