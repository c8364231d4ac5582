#include "ftp/client/LocalDownloadFile.h"

#include "ftp/client/RemotePaths.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

LocalDownloadFile::LocalDownloadFile(std::string target) : m_target(std::move(target)) {}

LocalDownloadFile::~LocalDownloadFile() {
    if (!m_committed)
        discard();
}

std::string LocalDownloadFile::BackupPath(const std::string& path) {
    const size_t slash = path.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    return path.substr(0, nameStart) + BackupName(path.substr(nameStart));
}

bool LocalDownloadFile::open() {
    // Named after the target so a file left by a crash is recognisable; it
    // does not end in the database extension.
    std::vector<char> name(m_target.begin(), m_target.end());
    const char suffix[] = ".part-XXXXXX";
    name.insert(name.end(), suffix, suffix + sizeof suffix);
    m_fd = mkostemp(name.data(), O_CLOEXEC);
    if (m_fd < 0)
        return false;
    m_temp.assign(name.data());
    struct stat st {};
    if (::stat(m_target.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        ::fchmod(m_fd, st.st_mode & 07777);
    return true;
}

bool LocalDownloadFile::write(const char* data, size_t size) {
    // Writing back while the transfer runs leaves little for the flush at the end.
    constexpr uint64_t kWriteBackStep = 8 * 1024 * 1024;
    if (m_written - m_writtenBack >= kWriteBackStep) {
        ::sync_file_range(m_fd, static_cast<off_t>(m_writtenBack),
                          static_cast<off_t>(m_written - m_writtenBack), SYNC_FILE_RANGE_WRITE);
        m_writtenBack = m_written;
    }
    while (size > 0) {
        const ssize_t n = ::write(m_fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
        m_written += static_cast<uint64_t>(n);
    }
    return true;
}

bool LocalDownloadFile::commit() {
    if (m_fd < 0)
        return false;
    const bool flushed = ::fsync(m_fd) == 0;
    const bool closed = ::close(m_fd) == 0;
    m_fd = -1;
    if (!flushed || !closed)
        return false;

    const std::string backup = BackupPath(m_target);
    bool movedToBackup = false;
    if (backup != m_target) {
        // The backup steps are best effort: a first download has neither file.
        ::unlink(backup.c_str());
        movedToBackup = ::rename(m_target.c_str(), backup.c_str()) == 0;
    }
    if (::rename(m_temp.c_str(), m_target.c_str()) != 0) {
        if (movedToBackup)
            ::rename(backup.c_str(), m_target.c_str());
        return false;
    }
    m_committed = true;
    return true;
}

void LocalDownloadFile::discard() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temp.empty())
        ::unlink(m_temp.c_str());
}
