#include "dialogs/CNotePropPage.h"

#include "core/Edition.h"
#include "core/NoteRecord.h"
#include "core/Texts.h"
#include "dialogs/DialogTexts.h"
#include "dialogs/PropSheetTexts.h"
#include "gui/MessageBox.h"

#include <ctime>

namespace {
// The icon a node gets when it has none yet: the second folder icon, or the
// seventeenth note icon.
constexpr int kDefaultFolderIcon = 1;
constexpr int kDefaultNoteIcon = 16;
} // namespace

CNotePropPage::CNotePropPage(NoteRecord& record, bool isFolder, QWidget* parent)
    : QWidget(parent), m_record(record), m_isFolder(isFolder) {}

void CNotePropPage::Activate() {
    if (!m_shown) {
        m_shown = true;
        OnFirstShow();
    }
    OnSetActive();
}

void CNotePropPage::FocusFirstField() {
    for (QWidget* next = nextInFocusChain(); next != this && isAncestorOf(next);
         next = next->nextInFocusChain()) {
        if ((next->focusPolicy() & Qt::TabFocus) && next->isEnabled() && !next->isHidden()) {
            next->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

QString CNotePropPage::FormatTime(const NoteTimestamp& time) {
    std::tm t{};
    t.tm_year = time.year - 1900;
    t.tm_mon = time.month - 1;
    t.tm_mday = time.day;
    t.tm_hour = time.hour;
    t.tm_min = time.minute;
    t.tm_sec = time.second;
    t.tm_wday = time.dayOfWeek % 7;
    t.tm_isdst = -1;
    char text[128];
    const size_t length = std::strftime(text, sizeof text, PropSheetTexts::timeFormat, &t);
    return QString::fromLocal8Bit(text, static_cast<qsizetype>(length));
}

void CNotePropPage::ShowEmptyTitleMessage(QWidget* parent) {
    const QString text =
        kHandheld ? QString::fromUtf8(DialogTexts::emptyTitlePad) : QString::fromUtf16(Texts::emptyTitle);
    ShowMessageBox(parent, text, MessageIcon::Exclamation);
}

void CNotePropPage::ApplyDefaultIcon() {
    if (m_record.iconIndex == -1)
        m_record.iconIndex = m_isFolder ? kDefaultFolderIcon : kDefaultNoteIcon;
}
