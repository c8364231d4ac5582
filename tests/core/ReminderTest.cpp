// The reminder due test for the five repeat kinds.
#include "core/TreeOps.h"
#include "tests/core/TimestampSupport.h"

#include <gtest/gtest.h>

namespace {

NoteTimestamp at(int y, int mo, int d, int h, int mi) {
    return MakeStamp(y, mo, d, h, mi);
}

NoteRecord reminder(int kind, const NoteTimestamp& when) {
    NoteRecord n(NoteTimestamp{});
    n.isFolder = 0;
    n.reminderOn = 1;
    n.repeatKind = kind;
    n.reminderTime = when;
    return n;
}

} // namespace

TEST(ReminderDue, OnceFiresOnceWhenPast) {
    NoteRecord n = reminder(RepeatOnce, at(2024, 3, 5, 9, 30));
    EXPECT_FALSE(IsReminderDue(n, at(2024, 3, 5, 9, 29)));
    EXPECT_TRUE(n.reminderAckTime.isZero());
    NoteTimestamp now = at(2024, 6, 1, 8, 0);
    now.second = 12;
    now.dayOfWeek = 6;
    EXPECT_TRUE(IsReminderDue(n, now));
    EXPECT_EQ(n.reminderAckTime, now); // all eight fields
    EXPECT_FALSE(IsReminderDue(n, at(2024, 6, 2, 8, 0)));
}

TEST(ReminderDue, DailyAndWeeklyIgnoreTheDateAndFireOncePerDay) {
    for (int kind : {RepeatDaily, RepeatWeekly}) {
        NoteRecord n = reminder(kind, at(2030, 1, 1, 7, 15)); // date in the future
        EXPECT_FALSE(IsReminderDue(n, at(2024, 5, 5, 7, 14)));
        EXPECT_TRUE(IsReminderDue(n, at(2024, 5, 5, 7, 15)));
        EXPECT_FALSE(IsReminderDue(n, at(2024, 5, 5, 23, 0)));
        EXPECT_FALSE(IsReminderDue(n, at(2024, 5, 6, 7, 0)));
        EXPECT_TRUE(IsReminderDue(n, at(2024, 5, 6, 7, 20)));
        // The same day of another month is another day.
        EXPECT_TRUE(IsReminderDue(n, at(2024, 6, 6, 8, 0)));
    }
}

TEST(ReminderDue, MonthlyOnTheThirtyFirstSkipsShortMonths) {
    NoteRecord n = reminder(RepeatMonthly, at(2024, 1, 31, 10, 0));
    EXPECT_FALSE(IsReminderDue(n, at(2024, 4, 30, 23, 59)));
    EXPECT_TRUE(IsReminderDue(n, at(2024, 5, 31, 10, 0)));
    EXPECT_FALSE(IsReminderDue(n, at(2024, 5, 31, 11, 0)));
    EXPECT_TRUE(IsReminderDue(n, at(2024, 7, 31, 10, 5)));
}

TEST(ReminderDue, YearlyFiresOncePerCalendarYear) {
    NoteRecord n = reminder(RepeatYearly, at(2020, 3, 5, 12, 0));
    EXPECT_FALSE(IsReminderDue(n, at(2024, 3, 5, 11, 59)));
    EXPECT_TRUE(IsReminderDue(n, at(2024, 3, 5, 12, 0)));
    EXPECT_FALSE(IsReminderDue(n, at(2024, 3, 5, 12, 0)));
    EXPECT_FALSE(IsReminderDue(n, at(2024, 12, 31, 23, 0)));
    EXPECT_FALSE(IsReminderDue(n, at(2025, 3, 4, 23, 59)));
    EXPECT_TRUE(IsReminderDue(n, at(2025, 3, 5, 12, 1)));
}

TEST(ReminderDue, UnknownKindsAreNeverDue) {
    for (int kind : {-1, 5, 1000}) {
        NoteRecord n = reminder(kind, at(2000, 1, 1, 0, 0));
        EXPECT_FALSE(IsReminderDue(n, at(2024, 1, 1, 0, 0)));
        EXPECT_TRUE(n.reminderAckTime.isZero());
    }
}
