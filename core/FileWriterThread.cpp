#include "core/FileWriterThread.h"

#include "core/FileSink.h"

FileWriterThread::FileWriterThread(FileSink& file, size_t bufferSize, size_t buffers) : m_file(file) {
    for (size_t i = 0; i < buffers; ++i)
        m_free.emplace_back(bufferSize);
    m_thread = std::thread(&FileWriterThread::loop, this);
}

FileWriterThread::~FileWriterThread() {
    stop();
}

void FileWriterThread::stop() {
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        m_queue.clear();
    }
    m_changed.notify_all();
    m_thread.join();
}

void FileWriterThread::throwIfFailed() {
    if (m_failure)
        std::rethrow_exception(m_failure);
}

std::vector<uint8_t>& FileWriterThread::fill() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_free.empty() || m_failure; });
    throwIfFailed();
    m_filling = std::move(m_free.front());
    m_free.pop_front();
    return m_filling;
}

void FileWriterThread::send(size_t used) {
    {
        std::lock_guard lock(m_mutex);
        throwIfFailed();
        m_queue.push_back({std::move(m_filling), used});
    }
    m_changed.notify_all();
}

void FileWriterThread::finish() {
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return (m_queue.empty() && !m_writing) || m_failure; });
        throwIfFailed();
    }
    stop();
}

void FileWriterThread::loop() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stop || !m_queue.empty(); });
        if (m_queue.empty())
            return;
        Queued next = std::move(m_queue.front());
        m_queue.pop_front();
        m_writing = true;
        lock.unlock();
        std::exception_ptr failure;
        try {
            m_file.write(next.bytes.data(), next.used);
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        m_writing = false;
        if (failure) {
            m_failure = failure;
            m_queue.clear();
        }
        m_free.push_back(std::move(next.bytes));
        m_changed.notify_all();
    }
}
