#include "core/ReminderPass.h"

#include "core/TreeOps.h"

bool IsWeekdayInRepeatDays(int32_t repeatDays, const NoteTimestamp& date) {
    static constexpr int32_t kDigit[7] = {kSunday,   kMonday, kTuesday, kWednesday,
                                          kThursday, kFriday, kSaturday};
    return HasWeekdayDigit(repeatDays, kDigit[WeekdayOf(date)]);
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
