#pragma once
// Runs one FTP operation on a thread of its own and hands every report to the
// user-interface thread as a queued call on the receiver, so the interface
// never waits for the network. At most one operation runs at a time.

#include "ftp/FtpOperation.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <thread>

class FtpWorker {
public:
    // Called on the receiver's thread, in the order the operation reports.
    struct Handlers {
        std::function<void(const QString&)> status;
        std::function<void()> clearList;
        std::function<void(const std::vector<FtpFileInfo>&)> listed;
        std::function<void(uint64_t done, uint64_t total)> progress;
        // The message and, on a line of its own when known, the cause.
        std::function<void(const QString&)> failed;
        std::function<void(const QString&)> downloaded;
        std::function<void()> finished;
    };

    FtpWorker(QObject* receiver, Handlers handlers);
    // Waits for a running operation to end.
    ~FtpWorker();
    FtpWorker(const FtpWorker&) = delete;
    FtpWorker& operator=(const FtpWorker&) = delete;

    // Starts the operation; false while another runs.
    bool start(FtpRequest request);
    // True from start() until the finished handler has run.
    bool running() const { return m_running; }
    // Asks the running operation to stop; it ends with the status "Stopped".
    void stop() { m_stop = true; }

private:
    void post(std::function<void()> call);

    QObject* m_receiver;
    Handlers m_handlers;
    std::thread m_thread;
    bool m_running = false;
    std::atomic<bool> m_stop = false;
};
