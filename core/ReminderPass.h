#pragma once
// The reminder alert pass: which notes fire at a given local time. It reads
// the time once for the whole pass, so that every note is judged against the
// same minute; the windows show the notes it returns.

#include "core/NotesMgr.h"

#include <vector>

// True when the weekday of `date` has its digit set in `repeatDays` (Monday
// 0x10000000 ... Sunday 0x00000010).
bool IsWeekdayInRepeatDays(int32_t repeatDays, const NoteTimestamp& date);

// Every node whose reminder is on, in ascending id: a weekly reminder is
// skipped on a weekday it does not name; the others go through the due test,
// which stamps reminderAckTime with `now` on the notes that fire. Returns the
// ids of those notes. The caller marks the database modified when any fired.
std::vector<int32_t> RunReminderPass(NotesMgr& mgr, const NoteTimestamp& now);

// Open from the list of due reminders: the edited copy replaces the note; a
// reminder time changed to another minute clears reminderAckTime, so the new
// time can fire. Sets modified. False when the note is gone.
bool ApplyOpenedReminder(NotesMgr& mgr, NoteRecord edited);
