#pragma once
// One operation of the FTP manager as its worker thread runs it: connect with
// the settings, run the operation, and report each step (status texts in
// their order, the listing, progress, the failure message) to a receiver.
// No widgets: the manager turns the reports into queued calls.

#include "ftp/client/FtpFileInfo.h"
#include "ftp/client/FtpSettings.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

// The codes of the operations.
enum class FtpOperationCode { Upload = 1, Download = 2, List = 3, Delete = 4, Rename = 5 };

struct FtpRequest {
    FtpOperationCode code = FtpOperationCode::List;
    FtpSettings settings;
    std::string name;      // the selected remote name (download, delete, rename)
    std::string localPath; // the chosen local file (upload, download)
    std::string newName;   // the entered name (rename)
};

// What an operation reports, on the worker thread, in the order it happens.
class FtpReport {
public:
    virtual ~FtpReport() = default;
    virtual void status(const char* text) = 0;
    virtual void clearList() = 0;
    virtual void listed(const std::vector<FtpFileInfo>& files) = 0;
    virtual void progress(uint64_t done, uint64_t total) = 0;
    // The operation's failure message, shown with a stop icon, and what went
    // wrong underneath (may be empty).
    virtual void failed(const std::string& message, const std::string& detail) = 0;
    // A download has put its file in place at this local path.
    virtual void downloaded(const std::string& localPath) = 0;
};

// Runs the request; `stop`, when given and set, ends it as soon as that is
// safe (see FtpSession::setStopFlag), reporting FtpTexts::stopped.
void RunFtpOperation(const FtpRequest& request, FtpReport& report, const std::atomic<bool>* stop = nullptr);
