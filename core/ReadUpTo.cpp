#include "core/ReadUpTo.h"

#include "core/FileError.h"

#include <cerrno>
#include <unistd.h>

size_t ReadUpTo(int fd, uint8_t* out, size_t size, const std::string& path) {
    size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, out + got, size - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw FileError(FileError::kindFromErrno(errno), path);
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
    }
    return got;
}

int64_t ReadUpToAt(int fd, uint8_t* out, size_t size, uint64_t offset) {
    size_t got = 0;
    while (got < size) {
        const ssize_t n = ::pread(fd, out + got, size - got, static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -errno;
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
    }
    return static_cast<int64_t>(got);
}
