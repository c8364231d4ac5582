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
