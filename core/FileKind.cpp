#include "core/FileKind.h"

#include "core/DatabaseFile.h"
#include "core/StrongHeader.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

std::optional<Protection> ProtectionOfBytes(std::span<const uint8_t> first) {
    if (StrongHeader::startsWithMagic(first))
        return Protection::Strong;
    if (first.size() >= kFileMagicSize && first[0] == uint8_t(kFileMagic) &&
        first[1] == uint8_t(kFileMagic >> 8) && first[2] == uint8_t(kFileMagic >> 16) &&
        first[3] == uint8_t(kFileMagic >> 24))
        return Protection::Compatible;
    return std::nullopt;
}

std::optional<Protection> ProtectionOfFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    uint8_t first[StrongHeader::magicSize];
    ssize_t n;
    do {
        n = ::pread(fd, first, sizeof first, 0);
    } while (n < 0 && errno == EINTR);
    ::close(fd);
    return n > 0 ? ProtectionOfBytes({first, static_cast<size_t>(n)}) : std::nullopt;
}
