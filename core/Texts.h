#pragma once
// The system's own texts used by the database layer, in one table, so that no
// text is typed twice. Windows and dialogs keep their texts in their own tables
// and take these from here where they show them.

namespace Texts {

inline constexpr const char16_t* untitled = u"Untitled";
inline constexpr const char16_t* newFolder = u"New Folder";
inline constexpr const char16_t* newNote = u"New Note";
inline constexpr const char16_t* noData = u"No Data";
inline constexpr const char16_t* noneTemplate = u"None";
inline constexpr const char16_t* linkHint = u"start with 'http://', 'file://' or 'mailto:'";
inline constexpr const char16_t* defaultPassword = u"#8Kw%2Lp!9Zr^4";
// A concealed value on screen: always this many dots, whatever its length.
inline constexpr const char16_t* concealedValue = u"\u2022\u2022\u2022\u2022\u2022\u2022\u2022\u2022";
// Copy Value's entry for the note's title.
inline constexpr const char16_t* titleField = u"Title";

// File errors (%1 is the file's name).
inline constexpr const char* unexpectedFormat = "Unexpected file format.";
inline constexpr const char* pastEnd = "An attempt was made to access %1 past its end.";
inline constexpr const char* unnamedFile = "an unnamed file";
inline constexpr const char* fileNotFound = "%1 was not found.";
inline constexpr const char* accessDenied = "%1 could not be accessed.";
inline constexpr const char* diskFull = "There is not enough space on the disk.";
inline constexpr const char* genericFileError = "An unexpected error occurred while accessing %1.";
inline constexpr const char* wrongPassword = "Enter the password";
inline constexpr const char* damaged = "The file is damaged or was changed by someone else.";
// Refusal of a strongly protected database without a password.
inline constexpr const char* strongNeedsPassword = "Strong protection needs a password.";

// Questions and refusals of the tree and template commands.
inline constexpr const char16_t* confirmDeleteFolder =
    u"Are you sure that you want to delete the selected folder?";
inline constexpr const char16_t* confirmDeleteNote =
    u"Are you sure that you want to delete the selected note?";
inline constexpr const char16_t* templateInUse =
    u"The template '%1' is used by the '%2' and cannot be deleted.";
inline constexpr const char16_t* confirmDeleteTemplate =
    u"Are you sure that you want to delete the selected template?";
inline constexpr const char16_t* askDefaultFolders =
    u"Do you want to use default folder template to create your database?";
inline constexpr const char16_t* emptyTitle = u"The 'Title' cannot be empty.";

// Find: a step that found nothing.
inline constexpr const char* textNotFound = "The specified text was not found.";

// The default folder set, in creation order.
inline constexpr const char16_t* defaultFolders[] = {
    u"Credit cards",  u"Internet accounts", u"Email accounts", u"Web sites",   u"IM accounts",
    u"Blog accounts", u"SIM cards",         u"Phone cards",    u"PC accounts", u"Ideas list",
};

// The built-in template catalogue, in list order.
struct BuiltInTemplate {
    int id;
    const char16_t* name;
    const char16_t* captions[7];
};
inline constexpr BuiltInTemplate builtInTemplates[] = {
    {9, u"Blog account", {u"Nickname:", u"Login:", u"Password:", u"E-mail:"}},
    {10, u"Car Info", {u"Model:", u"Year:", u"Vehicle Number:", u"Engine Number:", u"Insurance Info:"}},
    {1,
     u"Credit card",
     {u"Cardholder name:", u"Card number:", u"Expires:", u"CVC:", u"PIN:", u"Card Provider:", u"Card Type:"}},
    {11, u"Driver's License", {u"Number:", u"Date Issued:", u"Location:", u"Category:"}},
    {3, u"Email account", {u"E-mail:", u"SMTP:", u"POP:", u"Login:", u"Password:", u"Web link:"}},
    {8, u"IM account", {u"Nick:", u"Login:", u"Password:", u"E-mail:"}},
    {2, u"Internet account", {u"Provider:", u"Phone:", u"Login:", u"Password:"}},
    {15,
     u"Membership Card",
     {u"Organization:", u"ID Number:", u"Date Joined:", u"URL:", u"Phone:", u"Membership Fee:"}},
    {12,
     u"Passport Details",
     {u"Number:", u"Date Issued:", u"Expires:", u"Name:", u"Birthday:", u"Birthplace:", u"Authority:"}},
    {16,
     u"PayPal account",
     {u"E-mail:", u"Password:", u"Name:", u"Business Name:", u"Address:", u"Security Q/A 1:",
      u"Security Q/A 2:"}},
    {7, u"PC user account", {u"Workstation:", u"Login:", u"Password:"}},
    {6, u"Phone card", {u"Operator:", u"Phone number:", u"Access code:"}},
    {14,
     u"Serial Number",
     {u"Software Title:", u"Developer:", u"Version:", u"Serial Number:", u"User Name:", u"Purchase Date:",
      u"URL:"}},
    {5, u"SIM Card", {u"Operator:", u"PIN:", u"PUK:"}},
    {13, u"SSN card", {u"Type:", u"Number:", u"Name:"}},
    {4, u"Web site", {u"URL:", u"Login:", u"Password:", u"Login page:", u"E-mail used:"}},
};

// Merging two copies of one database: the title of a conflict's copy, the
// report's groups and lines, and the names of the merged fields.
namespace Merging {
inline constexpr const char16_t* otherCopy = u"%1 (other copy)";
inline constexpr const char16_t* headingAdded = u"Added from the other copy";
inline constexpr const char16_t* headingChanged = u"Changed in the other copy";
inline constexpr const char16_t* headingKept = u"Kept although deleted in one copy";
inline constexpr const char16_t* headingDeleted = u"Deleted in the other copy";
inline constexpr const char16_t* headingConflict = u"Conflicts";
inline constexpr const char16_t* threeWay =
    u"Three-way merge: %1 from the other copy, %2 deleted, %3 kept, %4 conflicts.";
inline constexpr const char16_t* twoWay =
    u"Two-way merge (no common base): %1 from the other copy, %2 deleted, %3 kept, %4 conflicts.";
inline constexpr const char16_t* noChange = u"Nothing to merge: the other copy holds no change.";
inline constexpr const char16_t* template_ = u"Template";
inline constexpr const char16_t* database = u"Database";
inline constexpr const char16_t* conflictLine = u"%1: %2 here, %3 in the other copy";
inline constexpr const char16_t* conflictHidden = u"%1: changed in both copies";
inline constexpr const char16_t* conflictCopy = u"; the other copy's version is \"%1\"";
inline constexpr const char16_t* keptOurs = u"; this copy's value is kept";
inline constexpr const char16_t* keptNode = u"deleted in one copy, changed in the other";
inline constexpr const char16_t* keptFolder = u"deleted in one copy, holds changes of the other";
inline constexpr const char16_t* on = u"on";
inline constexpr const char16_t* off = u"off";
inline constexpr const char16_t* none = u"none";
// Field names, in the order of MergeField.
inline constexpr const char16_t* fieldNames[] = {
    u"Title",     u"Text",          u"Icon",           u"Link",        u"Template",   u"Field 1",
    u"Field 2",   u"Field 3",       u"Field 4",        u"Field 5",     u"Field 6",    u"Field 7",
    u"Reminder",  u"Reminder time", u"Repeat",         u"Repeat days", u"Attachment", u"Folder",
    u"Name",      u"Caption 1",     u"Caption 2",      u"Caption 3",   u"Caption 4",  u"Caption 5",
    u"Caption 6", u"Caption 7",     u"Database title", u"Description", u"Password",
};
} // namespace Merging

} // namespace Texts
