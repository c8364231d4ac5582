#pragma once
// The Reminder page (notes only): whether the note reminds at all, the date
// and time, how it repeats, and for weekly reminders the weekdays. Leaving
// the page writes only what was changed on it, so that an untouched reminder
// keeps its stored fields exactly; clearing the acknowledgement of a changed
// reminder is the sheet's caller's business.

#include "core/ReminderSettings.h"
#include "dialogs/CNotePropPage.h"

#include <array>

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLabel;

class CNotePropReminder : public CNotePropPage {
    Q_OBJECT
public:
    explicit CNotePropReminder(NoteRecord& record, QWidget* parent = nullptr);

    QCheckBox* remindBox() const { return m_remind; }
    QDateTimeEdit* timeEdit() const { return m_time; }
    QComboBox* repeatList() const { return m_repeat; }
    // Monday first.
    QCheckBox* dayBox(int day) const { return m_days[static_cast<size_t>(day)]; }

protected:
    void OnFirstShow() override;
    void OnSetActive() override;
    bool OnKillActive() override;

private:
    ReminderSettings ReadControls() const;
    void UpdateEnabled();

    QCheckBox* m_remind = nullptr;
    QLabel* m_timeLabel = nullptr;
    QDateTimeEdit* m_time = nullptr;
    QLabel* m_repeatLabel = nullptr;
    QComboBox* m_repeat = nullptr;
    std::array<QCheckBox*, 7> m_days{};
    // What the controls showed when the page became active.
    ReminderSettings m_shown;
};
