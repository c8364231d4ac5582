// The reminder alert pass: each repeat kind just before, at and after its
// minute and across month and year turns, the weekday filter of weekly
// reminders, firing once per occurrence under a timer, and the write-back of
// a reminder opened from the list of due notes.

#include "core/ReminderPass.h"
#include "core/TreeOps.h"
#include "tests/core/TimestampSupport.h"

#include <gtest/gtest.h>

namespace {

// 2024-05-06 is a Monday.
NoteTimestamp at(int y, int mo, int d, int h, int mi, int s = 0) {
    return MakeStamp(y, mo, d, h, mi, s);
}

struct PassCase {
    const char* what;
    int kind;
    NoteTimestamp reminderTime;
    NoteTimestamp ackTime;
    int32_t repeatDays;
    NoteTimestamp now;
    bool fires;
};

const NoteTimestamp kNever{};

TEST(ReminderPass, EachKindAroundItsMoment) {
    const NoteTimestamp nine = at(2024, 5, 6, 9, 0);
    const PassCase cases[] = {
        {"once, minute before", RepeatOnce, nine, kNever, kAllWeekdays, at(2024, 5, 6, 8, 59, 59), false},
        {"once, at", RepeatOnce, nine, kNever, kAllWeekdays, nine, true},
        {"once, after", RepeatOnce, nine, kNever, kAllWeekdays, at(2024, 5, 6, 9, 1), true},
        {"once, fired already", RepeatOnce, nine, nine, kAllWeekdays, at(2025, 1, 1, 0, 0), false},
        {"once, next year", RepeatOnce, at(2024, 12, 31, 23, 59), kNever, kAllWeekdays, at(2025, 1, 1, 0, 0),
         true},
        {"daily, minute before", RepeatDaily, nine, kNever, kAllWeekdays, at(2024, 5, 9, 8, 59), false},
        {"daily, at", RepeatDaily, nine, kNever, kAllWeekdays, at(2024, 5, 9, 9, 0), true},
        {"daily, fired today", RepeatDaily, nine, at(2024, 5, 9, 9, 0), kAllWeekdays, at(2024, 5, 9, 17, 0),
         false},
        {"daily, fired yesterday", RepeatDaily, nine, at(2024, 5, 8, 9, 0), kAllWeekdays,
         at(2024, 5, 9, 9, 1), true},
        {"daily, fired on this day last month", RepeatDaily, nine, at(2024, 4, 9, 9, 0), kAllWeekdays,
         at(2024, 5, 9, 9, 0), true},
        {"weekly, named day, at", RepeatWeekly, nine, kNever, kMonday, at(2024, 5, 6, 9, 0), true},
        {"weekly, named day, minute before", RepeatWeekly, nine, kNever, kMonday, at(2024, 5, 6, 8, 59),
         false},
        {"weekly, other day", RepeatWeekly, nine, kNever, kMonday, at(2024, 5, 7, 9, 0), false},
        {"weekly, Sunday digit", RepeatWeekly, nine, kNever, kSunday, at(2024, 5, 12, 10, 0), true},
        {"weekly, Saturday digit on Sunday", RepeatWeekly, nine, kNever, kSaturday, at(2024, 5, 12, 10, 0),
         false},
        {"weekly, no day named", RepeatWeekly, nine, kNever, 0, at(2024, 5, 6, 9, 0), false},
        {"daily ignores the day digits", RepeatDaily, nine, kNever, 0, at(2024, 5, 7, 9, 0), true},
        {"monthly, minute before", RepeatMonthly, at(2024, 1, 15, 9, 0), kNever, kAllWeekdays,
         at(2024, 5, 15, 8, 59), false},
        {"monthly, at", RepeatMonthly, at(2024, 1, 15, 9, 0), kNever, kAllWeekdays, at(2024, 5, 15, 9, 0),
         true},
        {"monthly, fired this month", RepeatMonthly, at(2024, 1, 15, 9, 0), at(2024, 5, 15, 9, 0),
         kAllWeekdays, at(2024, 5, 31, 9, 0), false},
        {"monthly, month turn", RepeatMonthly, at(2024, 1, 15, 9, 0), at(2024, 5, 15, 9, 0), kAllWeekdays,
         at(2024, 6, 15, 9, 0), true},
        {"monthly, year turn", RepeatMonthly, at(2024, 1, 15, 9, 0), at(2024, 12, 15, 9, 0), kAllWeekdays,
         at(2025, 1, 15, 9, 0), true},
        {"monthly, same month a year on", RepeatMonthly, at(2024, 1, 15, 9, 0), at(2024, 5, 15, 9, 0),
         kAllWeekdays, at(2025, 5, 15, 9, 0), true},
        {"monthly on the 31st in a 30-day month", RepeatMonthly, at(2024, 1, 31, 9, 0), kNever, kAllWeekdays,
         at(2024, 6, 30, 23, 59), false},
        {"yearly, minute before", RepeatYearly, at(2020, 3, 5, 12, 0), kNever, kAllWeekdays,
         at(2024, 3, 5, 11, 59), false},
        {"yearly, at", RepeatYearly, at(2020, 3, 5, 12, 0), kNever, kAllWeekdays, at(2024, 3, 5, 12, 0),
         true},
        {"yearly, fired this year", RepeatYearly, at(2020, 3, 5, 12, 0), at(2024, 3, 5, 12, 0), kAllWeekdays,
         at(2024, 12, 31, 23, 59), false},
        {"yearly, year turn", RepeatYearly, at(2020, 3, 5, 12, 0), at(2024, 3, 5, 12, 0), kAllWeekdays,
         at(2025, 3, 5, 12, 0), true},
    };
    for (const PassCase& c : cases) {
        NotesMgr mgr(nullptr);
        NewDatabase(mgr);
        const int32_t id = mgr.AddNode(0, 16, 0, u"Call", {}, {}, c.now);
        NoteRecord& note = *mgr.FindNode(id);
        note.reminderOn = 1;
        note.repeatKind = c.kind;
        note.reminderTime = c.reminderTime;
        note.reminderAckTime = c.ackTime;
        note.repeatDays = c.repeatDays;
        const std::vector<int32_t> fired = RunReminderPass(mgr, c.now);
        EXPECT_EQ(fired, c.fires ? std::vector<int32_t>{id} : std::vector<int32_t>{}) << c.what;
        EXPECT_EQ(note.reminderAckTime, c.fires ? c.now : c.ackTime) << c.what;
        EXPECT_FALSE(mgr.IsModified()) << c.what;
    }
}

TEST(ReminderPass, FiresOncePerOccurrenceUnderTheTimer) {
    NotesMgr mgr(nullptr);
    NewDatabase(mgr);
    const NoteTimestamp start = at(2024, 5, 6, 8, 58);
    const auto add = [&](const char16_t* title, int kind, int on) {
        const int32_t id = mgr.AddNode(0, 16, 0, title, {}, {}, start);
        NoteRecord& n = *mgr.FindNode(id);
        n.reminderOn = on;
        n.repeatKind = kind;
        n.reminderTime = at(2024, 5, 6, 9, 0);
        n.repeatDays = kMonday | kWednesday;
        return id;
    };
    const int32_t daily = add(u"daily", RepeatDaily, 1);
    const int32_t weekly = add(u"weekly", RepeatWeekly, 1);
    const int32_t once = add(u"once", RepeatOnce, 1);
    add(u"switched off", RepeatOnce, 0);

    // Every 20 seconds from Monday 08:58 to Thursday 10:00.
    std::map<int32_t, std::vector<int>> firedOnDay;
    std::vector<std::vector<int32_t>> nonEmptyPasses;
    for (int tick = 0; tick < 3 * 24 * 180 + 200; ++tick) {
        const int seconds = tick * 20;
        const int minutes = 8 * 60 + 58 + seconds / 60;
        const NoteTimestamp now =
            at(2024, 5, 6 + minutes / (24 * 60), (minutes / 60) % 24, minutes % 60, seconds % 60);
        const std::vector<int32_t> fired = RunReminderPass(mgr, now);
        for (int32_t id : fired)
            firedOnDay[id].push_back(now.day);
        if (!fired.empty())
            nonEmptyPasses.push_back(fired);
    }
    EXPECT_EQ(firedOnDay[daily], (std::vector<int>{6, 7, 8, 9}));
    EXPECT_EQ(firedOnDay[weekly], (std::vector<int>{6, 8}));
    EXPECT_EQ(firedOnDay[once], (std::vector<int>{6}));
    // Notes due in the same pass come in ascending id.
    EXPECT_EQ(nonEmptyPasses.front(), (std::vector<int32_t>{daily, weekly, once}));
    EXPECT_EQ(nonEmptyPasses.size(), 4u);
}

TEST(ReminderPass, OpenedReminderClearsTheAcknowledgementOnlyForANewTime) {
    NotesMgr mgr(nullptr);
    NewDatabase(mgr);
    const int32_t id = mgr.AddNode(0, 16, 0, u"Call", {}, {}, at(2024, 5, 6, 9, 0));
    NoteRecord& stored = *mgr.FindNode(id);
    stored.reminderOn = 1;
    stored.repeatKind = RepeatOnce;
    stored.reminderTime = at(2024, 5, 6, 9, 0);
    stored.reminderAckTime = at(2024, 5, 6, 9, 0, 20);

    NoteRecord copy = stored;
    copy.title = u"Call back";
    copy.reminderTime.second = 40; // the same minute
    copy.repeatKind = RepeatDaily;
    ASSERT_TRUE(ApplyOpenedReminder(mgr, copy));
    EXPECT_EQ(stored.title, u"Call back");
    EXPECT_EQ(stored.repeatKind, RepeatDaily);
    EXPECT_EQ(stored.reminderAckTime, at(2024, 5, 6, 9, 0, 20));
    EXPECT_TRUE(mgr.IsModified());

    copy = stored;
    copy.reminderTime = at(2024, 5, 6, 10, 0);
    ASSERT_TRUE(ApplyOpenedReminder(mgr, copy));
    EXPECT_TRUE(stored.reminderAckTime.isZero());
    EXPECT_EQ(RunReminderPass(mgr, at(2024, 5, 6, 10, 0)), std::vector<int32_t>{id});

    mgr.EraseNode(id);
    EXPECT_FALSE(ApplyOpenedReminder(mgr, copy));
}

TEST(ReminderPass, WeekdayDigits) {
    // Monday 2024-05-06 to Sunday 2024-05-12; dayOfWeek left at 0 on purpose.
    const int32_t digits[] = {kMonday, kTuesday, kWednesday, kThursday, kFriday, kSaturday, kSunday};
    for (int d = 0; d < 7; ++d) {
        for (int e = 0; e < 7; ++e)
            EXPECT_EQ(IsWeekdayInRepeatDays(digits[e], at(2024, 5, 6 + d, 12, 0)), d == e) << d << " " << e;
    }
    // Any value in a day's digit names the day; an impossible date reads dayOfWeek.
    EXPECT_TRUE(IsWeekdayInRepeatDays(0x20000000, at(2024, 5, 6, 12, 0)));
    EXPECT_TRUE(IsWeekdayInRepeatDays(kFriday, MakeStamp(2024, 2, 30, 12, 0, 0, 0, 5)));
}

} // namespace
