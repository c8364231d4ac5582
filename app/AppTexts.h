#pragma once
// The texts of the application shell (document, main window, tree view,
// start-up dialog, about box), in one table so that none is typed twice.
// Texts shared with the database layer come from core/Texts.h.

#include "core/Texts.h"

#include <QString>

namespace AppTexts {

// A text of the table as the toolkit takes it.
inline QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

inline constexpr const char* appTitle = "Marrowick Sealbook";
inline constexpr const char* aboutTitle = "About Marrowick Sealbook";
inline constexpr const char* aboutText = "Marrowick Sealbook %1"; // the version, major.minor
// The document type: new-file base name, file-dialog filter, extension.
inline constexpr const char* newFileBase = "Sealbook";
inline constexpr const char* fileFilter = "Sealbook Files (*.nte)|*.nte||";
inline constexpr const char* extension = ".nte";

// The document's questions.
inline constexpr const char* saveChanges = "Save changes to %1?";
inline constexpr const char* changedOnDisk =
    "%1 was changed by another program after it was opened. Overwrite it?";
inline constexpr const char* overwrite = "Overwrite";
inline constexpr const char* saveAs = "Save As";

// FTP entry checks.
inline constexpr const char* saveFirst = "Please save your work and then try again.";
inline constexpr const char* checkFtpSettings = "Please check your FTP settings and then try again.";
inline constexpr const char* openDownloadedCopy =
    "The download has replaced %1, the file of the open database. Merge the downloaded copy into the open "
    "database, open the downloaded copy instead, or keep the open database as it is?";

// Delete of a folder says what goes with it.
inline constexpr const char* deleteEmptyFolder = "Delete the folder \"%1\"? Edit > Undo brings it back.";
inline constexpr const char* deleteFolderWith =
    "Delete the folder \"%1\" and the %2 in it? Edit > Undo brings them back.";
inline constexpr const char* oneNote = "1 note";
inline constexpr const char* manyNotes = "%1 notes";
inline constexpr const char* oneFolder = "1 folder";
inline constexpr const char* manyFolders = "%1 folders";
inline constexpr const char* countsJoin = " and ";

// The tree's database item while no password is set.
inline constexpr const char* passwordNotSet = " (the password is not set)";
// The caption of the property sheet opened from the tree.
inline constexpr const char* noteCaption = "Note";

// The preview pane.
inline constexpr const char* previewPane = "Preview Pane";

// The locked window and the clipboard countdown (%1 the file name, %2 the program).
inline constexpr const char* lockedTitle = "%1 [Locked] - %2";
inline constexpr const char* unlockPasswordLabel = "Password:";
inline constexpr const char* unlockButton = "Unlock";
inline constexpr const char* closeButton = "Close";
inline constexpr const char* unlockWrongPassword = "The password is not correct.";
inline constexpr const char* unlockToClose = "Unlock to save or discard your changes.";
inline constexpr const char* clipboardClears = "%1 (clipboard clears in %2 s)";
inline constexpr const char* copyValueMenu = "Copy Value";

// Help files beside the program and the maker's home page.
inline constexpr const char* overviewFile = "notes.pdf";
inline constexpr const char* manualFile = "notes.html";
inline constexpr const char* helpFileMissing = "The help file %1 was not found.";
inline constexpr const char* helpFileNotOpened = "No program could be started to show the help file %1.";
inline constexpr const char* homePage = "https://www.marrowick.example/sealbook/";

// The programs' command line (--help, --version, one database path).
inline constexpr const char* commandLineAbout =
    "A password-protected organiser: notes and confidential records in one enciphered file.";
inline constexpr const char* databaseArgument = "database";
inline constexpr const char* databaseArgumentSyntax = "[database.nte]";
inline constexpr const char* databaseArgumentHelp = "The database file to open.";
inline constexpr const char* usageLine = "Usage: %1 [options] %2";
inline constexpr const char* helpOptionHelp = "Displays this help.";
inline constexpr const char* versionOptionHelp = "Displays the version.";
inline constexpr const char* versionLine = "%1 (Marrowick Sealbook) %2";
inline constexpr const char* oneDatabaseOnly = "Only one database can be opened: '%1' is one too many.";
inline constexpr const char* refusedLine = "%1: %2\nTry '%1 --help' for more information.";

// Start-up dialog.
inline constexpr const char* startUpTitleDesk = "Select Sealbook database ";
inline constexpr const char* startUpTitlePad = "Marrowick Sealbook";
inline constexpr const char* startUpPrompt = "Please, choose Sealbook database";
inline constexpr const char* pathLabel = "Path:";
inline constexpr const char* browseFolderButton = "...";
inline constexpr const char* createNewDesk = "Create New";
inline constexpr const char* createNewPad = "Create new";
inline constexpr const char* browseDesk = "Browse...";
inline constexpr const char* browsePad = "Browse";
inline constexpr const char* recentFiles = "Recent Files";
inline constexpr const char* chooseFolder = "Please, select a folder.";
inline constexpr const char* openTitle = "Open";
inline constexpr const char* columnName = "Name";
inline constexpr const char* columnSize = "Size";
inline constexpr const char* columnModified = "Modified";
inline constexpr const char* sizeBytes = "%1 B";
inline constexpr const char* sizeKilobytes = "%1 Kb";
inline constexpr const char* recentEntry = "%1. %2";

} // namespace AppTexts
