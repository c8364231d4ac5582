#include "ftp/FtpOperation.h"

#include "ftp/client/FtpSession.h"
#include "ftp/client/FtpTexts.h"

namespace {

// A stop asked for by the user is no failure: it is only said on the status line.
void fail(FtpSession& session, FtpReport& report) {
    if (session.stopped()) {
        report.status(FtpTexts::stopped);
        return;
    }
    report.status(FtpTexts::error);
    report.failed(session.errorString(), session.errorDetail());
}

// The listing, also run after upload, delete and rename on the same connection.
bool runList(FtpSession& session, FtpReport& report) {
    report.status(FtpTexts::gettingList);
    report.clearList();
    std::vector<FtpFileInfo> files;
    if (!session.list(files)) {
        fail(session, report);
        return false;
    }
    report.listed(files);
    report.status(FtpTexts::done);
    return true;
}

// Runs a change on the server, then shows the folder's new state.
template <typename Step>
void changeAndList(FtpSession& session, FtpReport& report, const char* statusText, Step step) {
    report.status(statusText);
    if (!step()) {
        fail(session, report);
        return;
    }
    if (runList(session, report))
        report.status(FtpTexts::done);
}

} // namespace

void RunFtpOperation(const FtpRequest& request, FtpReport& report, const std::atomic<bool>* stop) {
    report.status(FtpTexts::connecting);
    FtpSession session(request.settings);
    session.setStopFlag(stop);
    if (!session.connect()) {
        fail(session, report);
        return;
    }
    const auto progress = [&report](uint64_t done, uint64_t total) { report.progress(done, total); };
    switch (request.code) {
    case FtpOperationCode::List:
        runList(session, report);
        break;
    case FtpOperationCode::Upload:
        changeAndList(session, report, FtpTexts::uploading,
                      [&] { return session.upload(request.localPath, progress); });
        break;
    case FtpOperationCode::Download:
        // The server did not change: the list is not read again.
        report.status(FtpTexts::downloading);
        if (session.download(request.name, request.localPath, progress)) {
            report.status(FtpTexts::done);
            report.downloaded(request.localPath);
        } else {
            fail(session, report);
        }
        break;
    case FtpOperationCode::Delete:
        changeAndList(session, report, FtpTexts::deleting, [&] { return session.remove(request.name); });
        break;
    case FtpOperationCode::Rename:
        changeAndList(session, report, FtpTexts::renaming,
                      [&] { return session.rename(request.name, request.newName); });
        break;
    }
}
