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
//
// Names are file names of the one folder, never paths: a name with "/" or
// "\\" or a leading "." is refused by every operation, and a rename never
// replaces a file that is there.

#include "ftp/client/FtpFileInfo.h"
#include "ftp/client/FtpSettings.h"

#include <atomic>
#include <cstdint>
#include <ctime>
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

    // The database files of the folder, sorted by name; an existing folder
    // without any gives an empty list. A folder that cannot be read fails.
    bool list(std::vector<FtpFileInfo>& files);

    // Sends the local database file under its own file name, keeping the
    // server's previous file as its "_old.nte" backup. A file that is not a
    // database (by its name and its first bytes) is refused. Afterwards the
    // name's temporary files that older uploads left behind are removed.
    bool upload(const std::string& localPath, const Progress& progress = {});

    // Fetches the named file into localPath, keeping the previous local file
    // as its "_old.nte" backup.
    bool download(const std::string& name, const std::string& localPath, const Progress& progress = {});

    bool remove(const std::string& name);

    // Renames the file to RenameTarget(enteredName) in the same folder,
    // unless a file of that name is there (a listing read just before tells).
    bool rename(const std::string& name, const std::string& enteredName);

    // Removes every temporary file an upload left in the folder that is
    // older than kStaleSeconds by the server's clock; `removed` gets their names.
    bool clean(std::vector<std::string>& removed);

    // A temporary file this old is no longer written by anybody.
    static constexpr std::time_t kStaleSeconds = 10 * 60;

    // Set from any thread (or a signal handler), the flag ends a connection
    // attempt, a listing or a transfer in progress: the operation fails with
    // FtpTexts::stopped and removes its temporary file. Steps that put a
    // finished upload in place are never cut short.
    void setStopFlag(const std::atomic<bool>* stop) { m_stop = stop; }
    bool stopped() const { return m_stopped; }

    const std::string& errorString() const { return m_error; }
    const std::string& errorDetail() const { return m_detail; }

private:
    struct Transfer;
    bool fail(const std::string& message, const std::string& detail = {});
    bool perform(const std::string& path, const std::function<void()>& configure, bool stoppable = false);
    void setCommonOptions(const std::string& path);
    bool runCommands(const std::vector<std::string>& commands);
    bool serverSize(const std::string& path, int64_t& size);
    bool serverTime(const std::string& path, std::time_t& time);
    bool listFolder(std::vector<FtpFileInfo>& files);
    bool listByMlsd(std::vector<FtpFileInfo>& files, bool& refused);
    bool listByNames(std::vector<FtpFileInfo>& files);
    bool folderHolds(const std::string& name, bool& holds);
    void removeStale(const std::vector<FtpFileInfo>& files, const std::string& owner, std::time_t now,
                     std::vector<std::string>* removed);
    bool stopRequested() const { return m_stop && m_stop->load(); }
    bool safeName(const std::string& name) const;

    FtpSettings m_settings;
    void* m_curl = nullptr;
    char* m_curlError = nullptr;
    bool m_connected = false;
    const std::atomic<bool>* m_stop = nullptr;
    bool m_stopped = false;
    std::string m_error;
    std::string m_detail;
};

// The file name of a local path (what follows the last "/").
std::string FileNameOf(const std::string& path);
