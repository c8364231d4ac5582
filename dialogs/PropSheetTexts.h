#pragma once
// The texts of the note property sheet and its pages, in one table, so that no
// text is typed twice. Texts shared with the database layer ("None", the
// desktop's empty-title message) come from core/Texts.h; the buttons and the
// handheld's empty-title message from dialogs/DialogTexts.h.

namespace PropSheetTexts {

inline constexpr const char* caption = "Note";

// Tab captions.
inline constexpr const char* notesTab = "Notes";
inline constexpr const char* dataTab = "Data";
inline constexpr const char* fileTab = "File";
inline constexpr const char* iconsTab = "Icons";
inline constexpr const char* reminderTab = "Reminder";

// Modification and file times: 12-hour time with AM/PM, then the locale's date.
inline constexpr const char* timeFormat = "%I:%M %p, %x";

// Notes page.
inline constexpr const char* titleLabel = "Title:";

// Data page.
inline constexpr const char* accountType = "Account Type:";
inline constexpr const char* separatorEntry = "--------------------";
inline constexpr const char* editTemplatesEntry = "Edit Templates...";
// The eye button beside a concealed value: its tool tip, and its text where
// the icon theme has no eye.
inline constexpr const char* revealValue = "Show the value";
inline constexpr const char* revealValueShort = "Show";

// File page.
inline constexpr const char* fileDetails = "File Details:";
inline constexpr const char* nameLabel = "Name:";
inline constexpr const char* sizeLabel = "Size:";
inline constexpr const char* modifiedLabel = "Modified:";
inline constexpr const char* attachButton = "Attach";
inline constexpr const char* exportButton = "Export";
inline constexpr const char* clearButton = "Clear";
inline constexpr const char* sizeFormat = "%d bytes";
inline constexpr const char* allFilesFilter = "All Files (*.*)|*.*||";
// Shown when an attachment could not be written out in full.
inline constexpr const char* exportFailed = "The file '%1' could not be written.";

// Reminder page.
inline constexpr const char* remindMe = "Remind me";
inline constexpr const char* reminderTimeLabel = "Time:";
inline constexpr const char* repeatLabel = "Repeat:";
// By repeatKind.
inline constexpr const char* repeatKinds[] = {"Once", "Daily", "Weekly", "Monthly", "Yearly"};
// Monday first, as the weekday digits of repeatDays.
inline constexpr const char* weekdays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
// The date as the locale writes it, then the time as the sheet's times show it.
inline constexpr const char* reminderTimeFormat = " hh:mm AP";

} // namespace PropSheetTexts
