#include "core/PosixFileSink.h"

#include "core/FileError.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// After this many bytes the disk is asked to start writing them, so that the
// sync at the end waits for the last few only.
constexpr uint64_t kHandOnStep = uint64_t{8} << 20;

} // namespace

PosixFileSink::PosixFileSink(const std::string& targetPath) : m_target(targetPath) {
    // The name keeps the target's name in front, so a file left by a crash is
    // recognisable, and does not end in the database extension.
    std::vector<char> name(targetPath.begin(), targetPath.end());
    const char suffix[] = ".tmp-XXXXXX";
    name.insert(name.end(), suffix, suffix + sizeof suffix);
    m_fd = mkostemp(name.data(), O_CLOEXEC);
    if (m_fd < 0)
        throw FileError(FileError::kindFromErrno(errno), m_target);
    m_path.assign(name.data());
    struct stat st {};
    if (::stat(targetPath.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        ::fchmod(m_fd, st.st_mode & 07777);
}

PosixFileSink::~PosixFileSink() {
    if (!m_finished)
        discard();
}

void PosixFileSink::fail(int err) {
    discard();
    throw FileError(FileError::kindFromErrno(err), m_target);
}

void PosixFileSink::write(const uint8_t* data, size_t size) {
    if (m_fd < 0)
        throw FileError(FileError::Kind::Generic, m_target, "file already closed");
    while (size > 0) {
        const ssize_t n = ::write(m_fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
        }
        data += n;
        size -= static_cast<size_t>(n);
        m_written += static_cast<uint64_t>(n);
    }
    if (m_written - m_flushStarted >= kHandOnStep)
        startFlush();
}

void PosixFileSink::startFlush() {
    if (m_fd < 0 || m_written == m_flushStarted)
        return;
    // Failure is harmless: finish() flushes everything anyway.
    ::sync_file_range(m_fd, static_cast<off_t>(m_flushStarted),
                      static_cast<off_t>(m_written - m_flushStarted), SYNC_FILE_RANGE_WRITE);
    m_flushStarted = m_written;
}

void PosixFileSink::finish() {
    if (m_fd < 0)
        throw FileError(FileError::Kind::Generic, m_target, "file already closed");
    if (::fsync(m_fd) != 0)
        fail(errno);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(m_path.c_str());
        throw FileError(FileError::kindFromErrno(err), m_target);
    }
    m_finished = true;
}

void PosixFileSink::discard() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_path.empty() && !m_finished)
        ::unlink(m_path.c_str());
    m_finished = true; // nothing left to remove
}
