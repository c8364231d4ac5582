#pragma once
// A local calendar time with the eight 16-bit fields of the stored time stamps.
// Time stamps are compared to the minute: day of week, second and millisecond
// never take part in an ordering.

#include <cstdint>
#include <ctime>

struct NoteTimestamp {
    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t dayOfWeek = 0;
    uint16_t day = 0;
    uint16_t hour = 0;
    uint16_t minute = 0;
    uint16_t second = 0;
    uint16_t millisecond = 0;

    // The current local time.
    static NoteTimestamp now();
    // A broken-down local time (tm_year counts from 1900, tm_mon from 0).
    static NoteTimestamp fromTm(const std::tm& t, uint16_t millisecond = 0);

    bool isZero() const;

    // Exact equality of all eight fields.
    bool operator==(const NoteTimestamp&) const = default;
};

// The weekday of the date, 0 Sunday ... 6 Saturday, worked out from year,
// month and day (so a time stamp built by hand need not fill dayOfWeek);
// dayOfWeek itself for a date that does not exist.
uint16_t WeekdayOf(const NoteTimestamp& t);

// -1, 0 or 1 comparing year, month, day, hour and minute in that order.
int CompareTimestamps(const NoteTimestamp& a, const NoteTimestamp& b);
