#pragma once
// The local time as the reminder timer reads it: the system's own clock, or a
// time set by hand, so that tests can put the program at any minute.

#include "core/NoteTimestamp.h"

#include <optional>

class LocalClock {
public:
    NoteTimestamp Now() const { return m_fixed ? *m_fixed : NoteTimestamp::now(); }
    // From now on the clock shows `time` until it is set again.
    void Set(const NoteTimestamp& time) { m_fixed = time; }
    void UseSystemTime() { m_fixed.reset(); }

private:
    std::optional<NoteTimestamp> m_fixed;
};
