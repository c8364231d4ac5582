#pragma once
// One way for the core tests to build a time stamp field by field.

#include "core/NoteTimestamp.h"

inline NoteTimestamp MakeStamp(int year, int month, int day, int hour, int minute, int second = 0,
                               int millisecond = 0, int dayOfWeek = 0) {
    NoteTimestamp t;
    t.year = static_cast<uint16_t>(year);
    t.month = static_cast<uint16_t>(month);
    t.dayOfWeek = static_cast<uint16_t>(dayOfWeek);
    t.day = static_cast<uint16_t>(day);
    t.hour = static_cast<uint16_t>(hour);
    t.minute = static_cast<uint16_t>(minute);
    t.second = static_cast<uint16_t>(second);
    t.millisecond = static_cast<uint16_t>(millisecond);
    return t;
}
