#include "core/SnapshotTap.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace {

void complete(FileIdentity& identity, const struct stat& info, uint64_t size, Sha1& digest) {
    identity.size = size;
    identity.modifiedSeconds = info.st_mtim.tv_sec;
    identity.modifiedNanoseconds = info.st_mtim.tv_nsec;
    identity.digest = digest.final();
}

} // namespace

void SnapshotTap::finish(int fd) {
    struct stat info {};
    if (m_snapshot && ::fstat(fd, &info) == 0)
        complete(m_snapshot->identity, info, m_size, m_digest);
}

void SnapshotTap::finish(const std::string& path) {
    struct stat info {};
    if (m_snapshot && ::stat(path.c_str(), &info) == 0)
        complete(m_snapshot->identity, info, m_size, m_digest);
}
