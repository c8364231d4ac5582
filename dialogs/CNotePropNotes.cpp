#include "dialogs/CNotePropNotes.h"

#include "core/NoteRecord.h"
#include "dialogs/PropSheetTexts.h"
#include "editor/CNoteEditor.h"
#include "editor/SpellEngine.h"
#include "gui/CStaticEx.h"
#include "gui/IconLists.h"

#include <QLabel>
#include <QLineEdit>
#include <algorithm>

namespace {
constexpr int kMargin = 5;
// The editor sits this far below the title box.
constexpr int kEditorGap = 3;
constexpr int kIconSize = IconLists::kLargeSize;
} // namespace

CNotePropNotes::CNotePropNotes(NoteRecord& record, bool isFolder, QWidget* parent)
    : CNotePropPage(record, isFolder, parent) {
    m_icon = new CStaticEx(this);
    m_titleLabel = new QLabel(QString::fromUtf8(PropSheetTexts::titleLabel), this);
    m_time = new QLabel(this);
    m_time->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_title = new QLineEdit(this);
}

CNotePropNotes::~CNotePropNotes() {
    SpellEngine::UnloadDictionary();
}

void CNotePropNotes::OnFirstShow() {
    ApplyDefaultIcon();
    // The editor opens a clicked link itself; its change notices need no answer here.
    m_editor = new CNoteEditor(this, false);
    m_editor->show();
    LayoutControls();
}

void CNotePropNotes::OnSetActive() {
    m_time->setText(FormatTime(m_record.modifiedTime));
    m_title->setText(QString::fromStdU16String(m_record.title));
    m_editor->LoadBody(m_record.body);
    const IconLists& icons = IconLists::instance();
    const ImageList& list = m_isFolder ? icons.folderIcons(true) : icons.noteIcons(true);
    m_icon->SetIcon(list.image(m_record.iconIndex));
    m_icon->update();
    LayoutControls();
}

bool CNotePropNotes::OnKillActive() {
    // The time is renewed whenever the page is left, changed or not.
    m_record.modifiedTime = NoteTimestamp::now();
    m_record.title = m_title->text().toStdU16String();
    m_record.body = m_editor->StoreBody();
    if (m_record.title.empty()) {
        ShowEmptyTitleMessage(this);
        return false;
    }
    return true;
}

void CNotePropNotes::resizeEvent(QResizeEvent* event) {
    CNotePropPage::resizeEvent(event);
    LayoutControls();
}

void CNotePropNotes::LayoutControls() {
    const int right = width() - kMargin;
    m_icon->setGeometry(kMargin, kMargin, kIconSize, kIconSize);
    const int textX = kMargin + kIconSize + kMargin;
    const int lineHeight = m_titleLabel->sizeHint().height();
    m_titleLabel->setGeometry(textX, kMargin, m_titleLabel->sizeHint().width(), lineHeight);
    const int timeWidth = m_time->sizeHint().width();
    m_time->setGeometry(right - timeWidth, kMargin, timeWidth, lineHeight);
    const int boxHeight = m_title->sizeHint().height();
    const int boxY = std::max(kMargin + lineHeight + 2, kMargin + kIconSize - boxHeight);
    m_title->setGeometry(textX, boxY, std::max(0, right - textX), boxHeight);
    if (m_editor) {
        const int editorY = boxY + boxHeight + kEditorGap;
        m_editor->setGeometry(kMargin, editorY, std::max(0, right - kMargin),
                              std::max(0, height() - kMargin - editorY));
        m_editor->restartRepaintTimer();
    }
}
