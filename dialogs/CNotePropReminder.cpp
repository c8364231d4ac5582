#include "dialogs/CNotePropReminder.h"

#include "core/Edition.h"
#include "core/NoteRecord.h"
#include "dialogs/PropSheetTexts.h"
#include "gui/GuiHelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

namespace {

constexpr int kMargin = 5;

QDateTime toDateTime(const NoteTimestamp& t) {
    return QDateTime(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute));
}

NoteTimestamp fromDateTime(const QDateTime& when) {
    NoteTimestamp t;
    t.year = static_cast<uint16_t>(when.date().year());
    t.month = static_cast<uint16_t>(when.date().month());
    t.day = static_cast<uint16_t>(when.date().day());
    t.hour = static_cast<uint16_t>(when.time().hour());
    t.minute = static_cast<uint16_t>(when.time().minute());
    t.dayOfWeek = WeekdayOf(t);
    return t;
}

} // namespace

CNotePropReminder::CNotePropReminder(NoteRecord& record, QWidget* parent)
    : CNotePropPage(record, false, parent) {}

void CNotePropReminder::OnFirstShow() {
    m_remind = new QCheckBox(QString::fromUtf8(PropSheetTexts::remindMe), this);
    MakeLabelBold(m_remind);
    m_timeLabel = new QLabel(QString::fromUtf8(PropSheetTexts::reminderTimeLabel), this);
    m_time = new QDateTimeEdit(this);
    m_time->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat) +
                             QString::fromUtf8(PropSheetTexts::reminderTimeFormat));
    m_time->setCalendarPopup(true);
    m_timeLabel->setBuddy(m_time);
    m_repeatLabel = new QLabel(QString::fromUtf8(PropSheetTexts::repeatLabel), this);
    m_repeat = new QComboBox(this);
    for (const char* kind : PropSheetTexts::repeatKinds)
        m_repeat->addItem(QString::fromUtf8(kind));
    m_repeatLabel->setBuddy(m_repeat);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->addWidget(m_remind);
    auto* form = new QGridLayout;
    form->addWidget(m_timeLabel, 0, 0);
    form->addWidget(m_time, 0, 1);
    form->addWidget(m_repeatLabel, 1, 0);
    form->addWidget(m_repeat, 1, 1);
    form->setColumnStretch(1, 1);
    layout->addLayout(form);
    // The handheld's narrow page takes the days in two rows.
    auto* days = new QGridLayout;
    const int perRow = kHandheld ? 4 : 7;
    for (size_t i = 0; i < m_days.size(); ++i) {
        m_days[i] = new QCheckBox(QString::fromUtf8(PropSheetTexts::weekdays[i]), this);
        days->addWidget(m_days[i], static_cast<int>(i) / perRow, static_cast<int>(i) % perRow);
    }
    layout->addLayout(days);
    layout->addStretch(1);

    connect(m_remind, &QCheckBox::toggled, this, &CNotePropReminder::UpdateEnabled);
    connect(m_repeat, &QComboBox::currentIndexChanged, this, &CNotePropReminder::UpdateEnabled);
}

void CNotePropReminder::OnSetActive() {
    const ReminderSettings stored = ReminderSettings::Of(m_record);
    m_remind->setChecked(stored.on);
    m_time->setDateTime(toDateTime(stored.time));
    m_repeat->setCurrentIndex(stored.kind);
    for (size_t i = 0; i < m_days.size(); ++i)
        m_days[i]->setChecked(stored.days[i]);
    UpdateEnabled();
    // A stored time the control cannot show is not "changed" by showing it.
    m_shown = ReadControls();
}

bool CNotePropReminder::OnKillActive() {
    ReadControls().ApplyChanges(m_record, m_shown);
    return true;
}

ReminderSettings CNotePropReminder::ReadControls() const {
    ReminderSettings s;
    s.on = m_remind->isChecked();
    s.time = fromDateTime(m_time->dateTime());
    s.kind = m_repeat->currentIndex();
    for (size_t i = 0; i < m_days.size(); ++i)
        s.days[i] = m_days[i]->isChecked();
    return s;
}

void CNotePropReminder::UpdateEnabled() {
    const bool on = m_remind->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(m_timeLabel), static_cast<QWidget*>(m_time),
                       static_cast<QWidget*>(m_repeatLabel), static_cast<QWidget*>(m_repeat)})
        w->setEnabled(on);
    const bool weekly = on && m_repeat->currentIndex() == RepeatWeekly;
    for (QCheckBox* day : m_days)
        day->setEnabled(weekly);
}
