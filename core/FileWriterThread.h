#pragma once
// Writes buffers to a FileSink on a thread of its own, so that whoever fills
// them goes on meanwhile. A few buffers go round: fill() hands out a free one
// (waiting while all are queued), send() queues it to be written. A failed
// write is thrown from the next fill(), send() or finish(); nothing queued
// after it is written.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

class FileSink;

class FileWriterThread {
public:
    FileWriterThread(FileSink& file, size_t bufferSize, size_t buffers = 3);
    // Stops the thread; what is still queued is dropped (the caller discards the file).
    ~FileWriterThread();
    FileWriterThread(const FileWriterThread&) = delete;
    FileWriterThread& operator=(const FileWriterThread&) = delete;

    // A free buffer of bufferSize bytes, to be given back by send().
    std::vector<uint8_t>& fill();
    // Queues the buffer fill() gave, its first `used` bytes.
    void send(size_t used);
    // Returns once everything sent is written.
    void finish();

private:
    struct Queued {
        std::vector<uint8_t> bytes;
        size_t used;
    };
    void loop();
    void stop();
    void throwIfFailed(); // with m_mutex held

    FileSink& m_file;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::vector<uint8_t>> m_free;
    std::deque<Queued> m_queue;
    std::vector<uint8_t> m_filling;
    bool m_writing = false;
    bool m_stop = false;
    std::exception_ptr m_failure;
    std::thread m_thread;
};
