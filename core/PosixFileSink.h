#pragma once
// The FileSink of the system's file calls: a uniquely named file created in
// the target's folder, with the target's permissions when the target exists
// (owner-only otherwise, the content being confidential).

#include "core/FileSink.h"

#include <cstdint>

class PosixFileSink : public FileSink {
public:
    // Creates the file; throws FileError with `targetPath` when it cannot.
    explicit PosixFileSink(const std::string& targetPath);
    ~PosixFileSink() override;

    const std::string& path() const override { return m_path; }
    void write(const uint8_t* data, size_t size) override;
    void finish() override;
    void discard() override;

private:
    [[noreturn]] void fail(int err);
    // Asks the disk to start on what was written so far, without waiting, so
    // that finish() has only the tail left to wait for.
    void startFlush();

    std::string m_target;
    std::string m_path;
    int m_fd = -1;
    bool m_finished = false;
    // Bytes written, and how many of them the disk has been asked to take.
    uint64_t m_written = 0;
    uint64_t m_flushStarted = 0;
};
