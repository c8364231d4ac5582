#pragma once
// The texts of the template, password, database-properties, find and reminder
// dialogs, in one table so that none is typed twice. Texts shared with the
// database layer (the template deletion messages, the empty-title refusal,
// the find miss) stay in core/Texts.h.

#include "core/Texts.h"

namespace DialogTexts {

// Buttons and soft keys.
inline constexpr const char* ok = "OK";
inline constexpr const char* cancel = "Cancel";
inline constexpr const char* close = "Close";
inline constexpr const char* menu = "Menu";
inline constexpr const char* add = "Add";
inline constexpr const char* edit = "Edit";
inline constexpr const char* remove = "Delete";
inline constexpr const char* save = "Save";

// The report of a merge.
inline constexpr const char* mergeReportTitle = "Merge";

// Template list and template form.
inline constexpr const char* editTemplatesTitle = "Edit Templates";
inline constexpr const char* templateTitleDesk = "Template";
inline constexpr const char* templateTitlePad = "Customize Templates";
inline constexpr const char* templateName = "Title:";
inline constexpr const char* captionLabel = "Caption %1:";
inline constexpr const char* emptyTitlePad = "The title cannot be empty.";
inline constexpr const char* emptyCaption1 = "The 'Caption 1' cannot be empty.";
inline constexpr const char* templateNameTaken = "A template named '%1' already exists. Choose another name.";

// Options: the Security page.
inline constexpr const char* optionsTitle = "Options";
inline constexpr const char* securityPage = "Security";
inline constexpr const char* lockAfterIdle = "Lock after idle:";
inline constexpr const char* clearClipboardAfter = "Clear clipboard after:";
inline constexpr const char* never = "Never";
inline constexpr const char* oneMinute = "1 minute";
inline constexpr const char* minutes = "%1 minutes";
inline constexpr const char* seconds = "%1 seconds";

// Password dialog.
inline constexpr const char* passwordTitleDesk = Texts::wrongPassword; // "Enter the password"
inline constexpr const char* passwordTitlePad = "Enter Password";
inline constexpr const char* passwordLabelDesk = "Enter password:";
inline constexpr const char* passwordLabelPad = "Enter Password:";
inline constexpr const char* passwordNotCorrect = "The password is not correct.";
inline constexpr const char* hideKeyboard = "Hide anti-keylogger keyboard  <<";
inline constexpr const char* showKeyboard = "Show anti-keylogger keyboard  >>";
inline constexpr const char* capKey = "CAP";
inline constexpr const char* shiftKey = "Shift";
inline constexpr const char* clearKey = "Clear";

// Database properties.
inline constexpr const char* databasePropertiesTitle = "Database Properties";
inline constexpr const char* databaseTitle = "Database Title:";
inline constexpr const char* password = "Password:";
inline constexpr const char* repeat = "Repeat:";
inline constexpr const char* passwordMismatch = "The password confirmation does not match.";
inline constexpr const char* protection = "Protection:";
inline constexpr const char* protectionCompatible = "Compatible \u2014 opens in every version";
inline constexpr const char* protectionCompatibleNote =
    "Every version and edition opens the file, but a copy of it can be tried against many passwords quickly.";
inline constexpr const char* protectionStrong = "Strong \u2014 opens only in this version";
inline constexpr const char* protectionStrongNote =
    "Each password tried costs about a second, and any change to the file is noticed. Needs a password.";
inline constexpr const char* strongNeedsPassword = Texts::strongNeedsPassword;

// Find.
inline constexpr const char* findTitle = "Find";
inline constexpr const char* findWhat = "Find what:";
inline constexpr const char* findWhere = "Find where:";
// By scope: title, body, both.
inline constexpr const char* findScopes[] = {"Title only", "Description only", "Title and Description"};
inline constexpr const char* matchCase = "Match case";
inline constexpr const char* wholeWordDesk = "Match whole word only";
inline constexpr const char* wholeWordPad = "Whole word only";
inline constexpr const char* findButton = "Find";
inline constexpr const char* textNotFound = Texts::textNotFound;

// The window of due reminders.
inline constexpr const char* reminderTitle = "Reminder";
inline constexpr const char* reminderLabel = "Reminder:";
inline constexpr const char* openButton = "Open";

} // namespace DialogTexts
