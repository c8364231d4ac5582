#pragma once
// Writes text pieces as UTF-8 on a thread of its own, so that making a long
// text (the plain text of a body of tens of megabytes) and turning it into
// bytes for the terminal overlap on two processors. The stream belongs to the
// writer from construction until finish() returns; the caller writes to it
// again only after that.

#include <condition_variable>
#include <deque>
#include <mutex>
#include <ostream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

class BackgroundWriter {
public:
    explicit BackgroundWriter(std::ostream& out);
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;
    ~BackgroundWriter();

    // Copies the piece; waits while a few pieces are still unwritten, so
    // that the text is never held whole.
    void add(std::u16string_view piece);
    // Writes what is left and waits for it; later pieces are dropped.
    void finish();

private:
    void run();

    std::ostream& m_out;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::u16string> m_waiting;
    std::vector<std::u16string> m_spare; // written pieces, their storage reused
    bool m_closed = false;
    std::thread m_thread;
};
