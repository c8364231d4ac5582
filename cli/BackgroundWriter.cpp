#include "cli/BackgroundWriter.h"

#include "cli/Utf.h"

namespace {
constexpr size_t kMostWaiting = 4;
}

BackgroundWriter::BackgroundWriter(std::ostream& out) : m_out(out), m_thread([this] { run(); }) {}

BackgroundWriter::~BackgroundWriter() {
    finish();
}

void BackgroundWriter::add(std::u16string_view piece) {
    if (piece.empty())
        return;
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_closed || m_waiting.size() < kMostWaiting; });
    if (m_closed)
        return; // the stream is the caller's again
    std::u16string text;
    if (!m_spare.empty()) {
        text = std::move(m_spare.back());
        m_spare.pop_back();
    }
    text.assign(piece);
    m_waiting.push_back(std::move(text));
    m_changed.notify_all();
}

void BackgroundWriter::finish() {
    {
        const std::lock_guard lock(m_mutex);
        m_closed = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void BackgroundWriter::run() {
    std::string bytes;
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_closed || !m_waiting.empty(); });
        if (m_waiting.empty())
            return; // closed, and all written
        std::u16string text = std::move(m_waiting.front());
        m_waiting.pop_front();
        m_changed.notify_all();
        lock.unlock();
        bytes.clear();
        AppendUtf8(bytes, text);
        m_out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        lock.lock();
        m_spare.push_back(std::move(text));
    }
}
