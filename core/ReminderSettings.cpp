#include "core/ReminderSettings.h"

ReminderSettings ReminderSettings::Of(const NoteRecord& note) {
    ReminderSettings s;
    s.on = note.reminderOn != 0;
    s.time = note.reminderTime;
    s.kind = note.repeatKind >= RepeatOnce && note.repeatKind <= RepeatYearly ? note.repeatKind : -1;
    for (size_t i = 0; i < kDayDigits.size(); ++i)
        s.days[i] = HasWeekdayDigit(note.repeatDays, kDayDigits[i]);
    return s;
}

void ReminderSettings::ApplyChanges(NoteRecord& note, const ReminderSettings& shown) const {
    if (on != shown.on)
        note.reminderOn = on ? 1 : 0;
    if (CompareTimestamps(time, shown.time) != 0) {
        NoteTimestamp t = time;
        t.second = 0;
        t.millisecond = 0;
        t.dayOfWeek = WeekdayOf(t);
        note.reminderTime = t;
    }
    if (kind != shown.kind && kind >= RepeatOnce && kind <= RepeatYearly)
        note.repeatKind = kind;
    uint32_t digits = static_cast<uint32_t>(note.repeatDays);
    for (size_t i = 0; i < kDayDigits.size(); ++i) {
        if (days[i] == shown.days[i])
            continue;
        const uint32_t digit = static_cast<uint32_t>(kDayDigits[i]);
        digits &= ~(digit * 0xFu);
        if (days[i])
            digits |= digit;
    }
    note.repeatDays = static_cast<int32_t>(digits);
}
