#pragma once
// The reminder of a note as the Reminder page shows it: on or off, the time
// to the minute, the repeat kind and the seven weekdays. The page writes back
// only what the user changed, so that a reminder left untouched keeps every
// stored field, its acknowledgement time included.

#include "core/NoteRecord.h"

#include <array>

struct ReminderSettings {
    // The weekday digits of repeatDays, Monday first.
    static constexpr std::array<int32_t, 7> kDayDigits = {kMonday, kTuesday,  kWednesday, kThursday,
                                                          kFriday, kSaturday, kSunday};

    bool on = false;
    NoteTimestamp time; // year, month, day, hour and minute count
    int kind = -1;      // RepeatOnce ... RepeatYearly; -1 for a stored kind outside them
    std::array<bool, 7> days{};

    static ReminderSettings Of(const NoteRecord& note);

    // Writes into `note` each of the four that differs from `shown`: a new
    // time with seconds and milliseconds 0 and its own weekday; the weekday
    // digits one by one (a digit already set stays as stored, the lowest digit
    // is never touched). reminderAckTime is left to the caller's reset rule.
    void ApplyChanges(NoteRecord& note, const ReminderSettings& shown) const;
};
