#pragma once
// One tree node: the root, a folder or a note. A plain value type: copying a
// record copies every field and gives the copy its own attachment bytes.

#include "core/NoteTimestamp.h"
#include "core/TemplateRecord.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

enum RepeatKind : int32_t {
    RepeatOnce = 0,
    RepeatDaily = 1,
    RepeatWeekly = 2,
    RepeatMonthly = 3,
    RepeatYearly = 4
};

// Weekday bits of repeatDays, one hexadecimal digit per day; the lowest digit stays 0.
inline constexpr int32_t kMonday = 0x10000000;
inline constexpr int32_t kTuesday = 0x01000000;
inline constexpr int32_t kWednesday = 0x00100000;
inline constexpr int32_t kThursday = 0x00010000;
inline constexpr int32_t kFriday = 0x00001000;
inline constexpr int32_t kSaturday = 0x00000100;
inline constexpr int32_t kSunday = 0x00000010;
inline constexpr int32_t kAllWeekdays = 0x11111110;

// True when the day's digit of repeatDays holds any value.
inline bool HasWeekdayDigit(int32_t repeatDays, int32_t dayDigit) {
    return (static_cast<uint32_t>(repeatDays) & (static_cast<uint32_t>(dayDigit) * 0xFu)) != 0;
}

struct NoteRecord {
    int32_t nodeId = 0;
    int32_t parentId = 0;
    int32_t iconIndex = -1;
    int32_t isFolder = 1;
    std::u16string title;
    std::u16string body;
    std::u16string link;
    NoteTimestamp modifiedTime;
    int32_t reminderOn = 0;
    NoteTimestamp reminderTime;
    NoteTimestamp reminderAckTime;
    int32_t repeatKind = RepeatWeekly;
    int32_t repeatDays = kAllWeekdays;
    int32_t templateId = 0;
    std::array<std::u16string, kFieldCount> fieldValues;
    std::u16string attachmentName;
    int32_t attachmentSize = 0;
    NoteTimestamp attachmentTime;
    // Exactly attachmentSize bytes; empty when the size is 0.
    std::vector<uint8_t> attachmentData;

    // A fresh node: both times are the current local time, link is the hint text.
    NoteRecord();
    // The same, with the current time given by the caller (bulk loading takes it once).
    explicit NoteRecord(const NoteTimestamp& now);

    // Replaces the attachment bytes and keeps attachmentSize in step.
    void setAttachment(std::vector<uint8_t> data);
    void clearAttachment();

    // Every field; texts compared as blocks of memory, which a merge of
    // 100,000 records notices.
    bool operator==(const NoteRecord& other) const;
};

// Copies every field of `from` except nodeId and parentId into `to`.
void CopyNoteContent(NoteRecord& to, const NoteRecord& from);
