#include "core/FileIdentity.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

std::optional<FileIdentity> ReadFileIdentity(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    FileIdentity identity;
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (ok) {
        identity.size = static_cast<uint64_t>(info.st_size);
        identity.modifiedSeconds = info.st_mtim.tv_sec;
        identity.modifiedNanoseconds = info.st_mtim.tv_nsec;
        Sha1 digest;
        std::vector<uint8_t> block(1 << 20);
        for (;;) {
            const ssize_t n = ::read(fd, block.data(), block.size());
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                ok = false;
                break;
            }
            if (n == 0)
                break;
            digest.update(block.data(), static_cast<size_t>(n));
        }
        identity.digest = digest.final();
    }
    ::close(fd);
    if (!ok)
        return std::nullopt;
    return identity;
}
