#pragma once
// The texts of the FTP exchange, in one table so that none is typed twice: the
// status line, the failure messages (shown by the dialog and printed by the
// companion) and the FTP dialogs' captions. Plain C++ so the companion shares them.

namespace FtpTexts {

// Status line, in the order an operation shows them.
inline constexpr const char* connecting = "Connecting...";
inline constexpr const char* gettingList = "Getting list of files...";
inline constexpr const char* uploading = "Uploading...";
inline constexpr const char* downloading = "Downloading...";
inline constexpr const char* deleting = "Deleting...";
inline constexpr const char* renaming = "Renaming...";
inline constexpr const char* done = "Done";
inline constexpr const char* stopped = "Stopped";
inline constexpr const char* error = "Error";

// Failure messages of the operations.
inline constexpr const char* connectFailed =
    "Unable to connect to the FTP server. Please check your settings.";
inline constexpr const char* listFailed =
    "Unable to enumerate files on the FTP server. Please check your settings.";
inline constexpr const char* uploadFailed = "Unable to upload a file to the FTP server.";
inline constexpr const char* downloadFailed = "Unable to download the selected file from the FTP server.";
inline constexpr const char* deleteFailed = "Unable to delete the selected file from the FTP server.";
inline constexpr const char* renameFailed = "Unable to rename the selected file on the FTP server.";
inline constexpr const char* cleanFailed = "Unable to remove left-over temporary files from the FTP server.";
inline constexpr const char* nameHasSpaces = "The file name cannot contain spaces.";
inline constexpr const char* nameNotPlain = "The file name cannot contain / or \\, nor start with a dot.";
inline constexpr const char* nameTaken = "A file named %1 already exists on the FTP server.";
inline constexpr const char* notADatabase = "%1 is not a database file. Only database files are uploaded.";
// The temporary file a clean-up writes to read the server's clock.
inline constexpr const char* clockProbeName = "clock-probe.nte";

// Manager dialog.
inline constexpr const char* managerTitle = "FTP Manager";
inline constexpr const char* nameColumn = "Name";
inline constexpr const char* sizeColumn = "Size";
inline constexpr const char* modifiedColumn = "Modified";
inline constexpr const char* statusLabel = "Status:";
inline constexpr const char* upload = "Upload";
inline constexpr const char* download = "Download";
inline constexpr const char* remove = "Delete";
inline constexpr const char* rename = "Rename";
inline constexpr const char* refresh = "Refresh";
inline constexpr const char* stop = "Stop";
inline constexpr const char* uploadOpenDatabase = "Upload %1?";
inline constexpr const char* confirmDelete =
    "Are you sure that you want to delete the selected file from the FTP server?";
inline constexpr const char* fileFilter = "Marrowick Sealbook Files (*.nte)|*.nte||";
inline constexpr const char* defaultSuffix = "nte";
inline constexpr const char* sizeBytes = "%1 B";
inline constexpr const char* sizeKilobytes = "%1 Kb";

// Settings dialog.
inline constexpr const char* settingsTitle = "FTP Settings";
inline constexpr const char* hostGroup = "FTP Host Address";
inline constexpr const char* host = "Host:";
inline constexpr const char* port = "Port:";
inline constexpr const char* passiveMode = "Passive Mode";
inline constexpr const char* useTls = "Use TLS";
inline constexpr const char* loginGroup = "Login Information";
inline constexpr const char* login = "Login:";
inline constexpr const char* password = "Password:";
inline constexpr const char* anonymous = "Anonymous";
inline constexpr const char* directory = "FTP Directory:";
inline constexpr const char* passwordInKeyring = "The password is kept in the desktop's secret service.";
inline constexpr const char* passwordInFile =
    "The password is kept in the settings file, readable only by you.";

// Log-in used by the anonymous setting.
inline constexpr const char* anonymousLogin = "anonymous";
// Where the desktop's secret service keeps the FTP password.
inline constexpr const char* keyringService = "Marrowick Sealbook";
inline constexpr const char* keyringKey = "FTPPassword";

} // namespace FtpTexts
