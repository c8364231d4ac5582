#include "core/ReminderPass.h"

#include "core/TreeOps.h"

#include <chrono>

namespace {

// 0 Sunday ... 6 Saturday. Taken from the date itself, so that a clock set by
// hand need not fill dayOfWeek; an impossible date falls back to the field.
unsigned weekdayOf(const NoteTimestamp& date) {
    using namespace std::chrono;
    const year_month_day ymd{year(date.year), month(date.month), day(date.day)};
    if (ymd.ok())
        return weekday(sys_days(ymd)).c_encoding();
    return date.dayOfWeek % 7;
}

} // namespace

bool IsWeekdayInRepeatDays(int32_t repeatDays, const NoteTimestamp& date) {
    static constexpr int32_t kDigit[7] = {kSunday,   kMonday, kTuesday, kWednesday,
                                          kThursday, kFriday, kSaturday};
    const uint32_t digit = static_cast<uint32_t>(kDigit[weekdayOf(date)]);
    // One hexadecimal digit per day: any value in it names the day.
    return (static_cast<uint32_t>(repeatDays) & (digit * 0xFu)) != 0;
}

std::vector<int32_t> RunReminderPass(NotesMgr& mgr, const NoteTimestamp& now) {
    std::vector<int32_t> fired;
    for (auto& [id, node] : mgr.nodes) {
        if (!node.reminderOn)
            continue;
        if (node.repeatKind == RepeatWeekly && !IsWeekdayInRepeatDays(node.repeatDays, now))
            continue;
        if (IsReminderDue(node, now))
            fired.push_back(id);
    }
    return fired;
}

bool ApplyOpenedReminder(NotesMgr& mgr, NoteRecord edited) {
    NoteRecord* stored = mgr.FindNode(edited.nodeId);
    if (!stored)
        return false;
    if (CompareTimestamps(edited.reminderTime, stored->reminderTime) != 0)
        edited.reminderAckTime = NoteTimestamp{};
    CopyNoteContent(*stored, edited);
    mgr.SetModified();
    return true;
}
