#include "ftp/FtpOperation.h"

#include "ftp/client/FtpSession.h"
#include "ftp/client/FtpTexts.h"

namespace {

void fail(FtpReport& report, const std::string& message) {
    report.status(FtpTexts::error);
    report.failed(message);
}

// The listing, also run after upload, delete and rename on the same connection.
void runList(FtpSession& session, FtpReport& report) {
    report.status(FtpTexts::gettingList);
    report.clearList();
    std::vector<FtpFileInfo> files;
    if (!session.list(files)) {
        fail(report, session.errorString());
        return;
    }
    report.listed(files);
    report.status(FtpTexts::done);
}

// Runs a change on the server, then shows the folder's new state.
template <typename Step>
void changeAndList(FtpSession& session, FtpReport& report, const char* statusText, Step step) {
    report.status(statusText);
    if (!step()) {
        fail(report, session.errorString());
        return;
    }
    runList(session, report);
    report.status(FtpTexts::done);
}

} // namespace

void RunFtpOperation(const FtpRequest& request, FtpReport& report) {
    report.status(FtpTexts::connecting);
    FtpSession session(request.settings);
    if (!session.connect()) {
        fail(report, session.errorString());
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
        if (session.download(request.name, request.localPath, progress))
            report.status(FtpTexts::done);
        else
            fail(report, session.errorString());
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
