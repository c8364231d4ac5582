#pragma once
// One FTP operation's connection to the server: the client of the FTP
// exchange, plain C++ over libcurl. A session owns one easy handle and so one
// connection, made by connect() and kept for the steps that follow (an upload
// and the listing after it); destroying the session closes it. Nothing of
// libcurl shows here: every method reports success, and on failure
// errorString() holds the operation's message and errorDetail() what went
// wrong underneath.
//
// Replacing a file never risks the copy that is there: an upload goes to a
// temporary name in the folder and takes the file's place only once the server
// holds all of it; a download goes to a temporary file beside the chosen path.
// Each side keeps the previous file as its "_old.nte" backup.

#include "ftp/client/FtpFileInfo.h"
#include "ftp/client/FtpSettings.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class FtpSession {
public:
    // Bytes done of the total (0 when unknown); called on the session's thread.
    using Progress = std::function<void(uint64_t done, uint64_t total)>;

    explicit FtpSession(FtpSettings settings);
    ~FtpSession();
    FtpSession(const FtpSession&) = delete;
    FtpSession& operator=(const FtpSession&) = delete;

    // Connects and logs in (as "anonymous" when the settings say so).
    bool connect();

    // The database files of the folder, sorted by name. No such file is a
    // failure too, with the same message.
    bool list(std::vector<FtpFileInfo>& files);

    // Sends the local file under its own file name, keeping the server's
    // previous file as its "_old.nte" backup.
    bool upload(const std::string& localPath, const Progress& progress = {});

    // Fetches the named file into localPath, keeping the previous local file
    // as its "_old.nte" backup.
    bool download(const std::string& name, const std::string& localPath, const Progress& progress = {});

    bool remove(const std::string& name);

    // Renames the file to RenameTarget(enteredName) in the same folder.
    bool rename(const std::string& name, const std::string& enteredName);

    const std::string& errorString() const { return m_error; }
    const std::string& errorDetail() const { return m_detail; }

private:
    struct Transfer;
    bool fail(const char* message, const std::string& detail = {});
    bool perform(const std::string& path, const std::function<void()>& configure);
    void setCommonOptions(const std::string& path);
    bool runCommands(const std::vector<std::string>& commands);
    bool serverSize(const std::string& path, int64_t& size);
    bool listByMlsd(std::vector<FtpFileInfo>& files, bool& refused);
    bool listByNames(std::vector<FtpFileInfo>& files);
    bool safeName(const std::string& name) const;

    FtpSettings m_settings;
    void* m_curl = nullptr;
    char* m_curlError = nullptr;
    bool m_connected = false;
    std::string m_error;
    std::string m_detail;
};

// The file name of a local path (what follows the last "/").
std::string FileNameOf(const std::string& path);
