#include "ftp/FtpWorker.h"

#include <QMetaObject>
#include <chrono>

namespace {

// Turns the operation's reports into queued calls. The calls reach the
// worker's handlers, never this report, which ends with the thread. Progress is thinned out:
// a call per percent, or five a second, is all a progress bar can show.
class PostingReport : public FtpReport {
public:
    using Post = std::function<void(std::function<void()>)>;
    PostingReport(const FtpWorker::Handlers& handlers, Post post)
        : m_handlers(handlers), m_post(std::move(post)) {}

    void status(const char* text) override {
        const QString t = QString::fromUtf8(text);
        m_post([&h = m_handlers, t] { h.status(t); });
    }
    void clearList() override {
        m_post([&h = m_handlers] { h.clearList(); });
    }
    void listed(const std::vector<FtpFileInfo>& files) override {
        m_post([&h = m_handlers, files] { h.listed(files); });
    }
    void failed(const std::string& message, const std::string& detail) override {
        QString t = QString::fromStdString(message);
        if (!detail.empty())
            t += QLatin1Char('\n') + QString::fromStdString(detail);
        m_post([&h = m_handlers, t] { h.failed(t); });
    }
    void downloaded(const std::string& localPath) override {
        const QString path = QString::fromStdString(localPath);
        m_post([&h = m_handlers, path] {
            if (h.downloaded)
                h.downloaded(path);
        });
    }
    void progress(uint64_t done, uint64_t total) override {
        const auto now = std::chrono::steady_clock::now();
        const int percent = total ? static_cast<int>(done * 100 / total) : 0;
        if (percent == m_percent && done != total && now - m_last < std::chrono::milliseconds(200))
            return;
        m_percent = percent;
        m_last = now;
        m_post([&h = m_handlers, done, total] { h.progress(done, total); });
    }

private:
    const FtpWorker::Handlers& m_handlers;
    Post m_post;
    int m_percent = -1;
    std::chrono::steady_clock::time_point m_last;
};

} // namespace

FtpWorker::FtpWorker(QObject* receiver, Handlers handlers)
    : m_receiver(receiver), m_handlers(std::move(handlers)) {}

FtpWorker::~FtpWorker() {
    if (m_thread.joinable())
        m_thread.join();
}

void FtpWorker::post(std::function<void()> call) {
    // A call for a receiver that is gone is dropped by the event loop.
    QMetaObject::invokeMethod(m_receiver, std::move(call), Qt::QueuedConnection);
}

bool FtpWorker::start(FtpRequest request) {
    if (m_running)
        return false;
    if (m_thread.joinable())
        m_thread.join();
    m_running = true;
    m_stop = false;
    m_thread = std::thread([this, request = std::move(request)] {
        PostingReport report(m_handlers, [this](std::function<void()> call) { post(std::move(call)); });
        RunFtpOperation(request, report, &m_stop);
        post([this] {
            m_running = false;
            if (m_thread.joinable())
                m_thread.join();
            if (m_handlers.finished)
                m_handlers.finished();
        });
    });
    return true;
}
