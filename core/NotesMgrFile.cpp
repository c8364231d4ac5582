// Loading and saving the database file: magic number, random prefix and the
// enciphered stream, with the previous file kept as the backup.

#include "core/DatabaseCipher.h"
#include "core/DatabaseFile.h"
#include "core/DecipheringSource.h"
#include "core/EncipheringSink.h"
#include "core/FileError.h"
#include "core/FileSink.h"
#include "core/NodeMapReceiver.h"
#include "core/NotesMgr.h"
#include "core/PathText.h"
#include "core/SnapshotTap.h"
#include "core/StreamReader.h"
#include "core/StreamWriter.h"
#include "core/StrongHeader.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class FdCloser {
public:
    explicit FdCloser(int fd) : m_fd(fd) {}
    ~FdCloser() { ::close(m_fd); }
    FdCloser(const FdCloser&) = delete;
    FdCloser& operator=(const FdCloser&) = delete;

private:
    int m_fd;
};

// Reads up to `size` bytes; fewer only at the end of the file.
size_t readFully(int fd, uint8_t* out, size_t size, const std::string& path) {
    size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, out + got, size - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw FileError(FileError::kindFromErrno(errno), path);
        }
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
    }
    return got;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Makes the renames themselves survive a crash; a folder that cannot be
// synced does not make the save fail.
void syncFolder(const std::string& path) {
    const int fd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// Puts the finished file `fresh` at `path`, keeping the previous file as the
// backup. The path names either the previous or the new file at every moment;
// on failure it is left naming the previous one and FileError is thrown.
void replaceKeepingBackup(const std::string& fresh, const std::string& path) {
    const std::string backup = path + kBackupSuffix;
    ::unlink(backup.c_str());
    // A second name for the previous file becomes the backup, and the rename
    // below replaces the path in one step. Where the file system has no hard
    // links the previous file is moved aside instead, and moved back should
    // the new one not take its place.
    bool movedAside = false;
    if (::link(path.c_str(), backup.c_str()) != 0 && errno != ENOENT)
        movedAside = ::rename(path.c_str(), backup.c_str()) == 0;
    if (::rename(fresh.c_str(), path.c_str()) != 0) {
        const int err = errno;
        if (movedAside)
            ::rename(backup.c_str(), path.c_str());
        ::unlink(fresh.c_str());
        throw FileError(FileError::kindFromErrno(err), path);
    }
    syncFolder(path);
}

void writeMagic(FileSink& file, SnapshotTap& tap) {
    const uint8_t magic[kFileMagicSize] = {
        static_cast<uint8_t>(kFileMagic), static_cast<uint8_t>(kFileMagic >> 8),
        static_cast<uint8_t>(kFileMagic >> 16), static_cast<uint8_t>(kFileMagic >> 24)};
    file.write(magic, sizeof magic);
    tap.fileBytes(magic, sizeof magic);
}

// The snapshot holds the whole file: whatever the reader left after the
// database stream is read through the tap too.
void finishSnapshot(DecipheringSource& source, SnapshotTap& tap, int fd) {
    while (!source.next().empty()) {
    }
    tap.finish(fd);
}

bool isMagic(const uint8_t* b) {
    const uint32_t v = static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
                       static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
    return v == kFileMagic;
}

// The recent-files list holds full paths, whatever form the caller used.
std::u16string recentEntry(const std::string& path) {
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(path, error);
    return PathToUtf16(error ? path : full.lexically_normal().string());
}

// Saving through a symbolic link replaces the file it points to; renaming onto
// the link itself would turn it into a file of its own.
std::string fileBehind(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved)
        return path; // a link to nothing is replaced like a missing file
    std::string target(resolved);
    std::free(resolved);
    return target;
}

} // namespace

bool NotesMgr::Load(const std::string& path, FileSnapshot* snapshot) {
    NotesMgr loaded(nullptr);
    loaded.password = password;
    loaded.strongKey = strongKey;
    NodeMapReceiver receiver(loaded.nodes);
    loaded.Scan(path, receiver, snapshot);
    TakeContent(loaded);
    TakeProtection(loaded);
    AddRecentFile(recentEntry(path));
    return true;
}

void NotesMgr::Scan(const std::string& path, NodeReceiver& receiver, FileSnapshot* snapshot) {
    if (snapshot)
        *snapshot = FileSnapshot();
    SnapshotTap tap(snapshot);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw FileError(FileError::kindFromErrno(errno), path);
    FdCloser closer(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        throw FileError(FileError::kindFromErrno(errno), path);
    if (S_ISDIR(st.st_mode))
        throw FileError(FileError::Kind::AccessDenied, path);

    // Files without the magic number are of the legacy scheme, whose key is
    // not known here: they are refused as not being database files.
    uint8_t magic[kFileMagicSize];
    const size_t magicRead = readFully(fd, magic, sizeof magic, path);
    const uint64_t fileSize = S_ISREG(st.st_mode) ? static_cast<uint64_t>(st.st_size) : 0;
    if (magicRead == sizeof magic && StrongHeader::startsWithMagicPrefix(magic)) {
        if (snapshot)
            snapshot->stream.reserve(static_cast<size_t>(fileSize));
        ScanStrong(fd, fileSize, magic, sizeof magic, path, receiver, tap);
        tap.finish(fd);
        return;
    }
    if (magicRead < sizeof magic || !isMagic(magic))
        throw FileError(FileError::Kind::BadFormat, path);
    tap.fileBytes(magic, sizeof magic);

    const DatabaseCipher cipher(password);
    uint8_t prefix[DatabaseCipher::prefixSize];
    const size_t prefixRead = readFully(fd, prefix, sizeof prefix, path);
    tap.fileBytes(prefix, prefixRead);
    // A file too short for the prefix holds no stream; the reader reports that.
    const uint64_t streamSize =
        prefixRead == sizeof prefix && fileSize > kStreamOffset ? fileSize - kStreamOffset : 0;

    DecipheringSource source(fd, streamSize, cipher, path);
    source.setTap(snapshot ? &tap : nullptr);
    if (snapshot)
        snapshot->stream.reserve(static_cast<size_t>(streamSize));
    StreamReader reader(source);
    try {
        Serialize(reader, receiver);
    } catch (const FileError& error) {
        throw error.inFile(path);
    }
    if (snapshot)
        finishSnapshot(source, tap, fd);
    protection = Protection::Compatible;
    strongKey.reset();
}

bool NotesMgr::Save(const std::string& requestedPath, FileSnapshot* snapshot) {
    const std::string path = fileBehind(requestedPath);
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        throw FileError(FileError::Kind::AccessDenied, path);

    std::unique_ptr<FileSink> file = FileSink::createBeside(path);
    if (snapshot)
        *snapshot = FileSnapshot();
    SnapshotTap tap(snapshot);
    try {
        if (protection == Protection::Strong) {
            WriteStrong(*file, tap);
        } else {
            writeMagic(*file, tap);
            DatabaseCipher cipher(password);
            const auto prefix = cipher.makePrefix([this] { return NextRandom(); });
            file->write(prefix.data(), prefix.size());
            tap.fileBytes(prefix.data(), prefix.size());
            EncipheringSink enciphered(cipher, *file);
            enciphered.setTap(snapshot ? &tap : nullptr);
            StreamWriter out(enciphered);
            Serialize(out);
            enciphered.finish();
        }
        file->finish();
    } catch (const FileError& error) {
        file->discard();
        throw error.inFile(path);
    } catch (...) {
        file->discard();
        throw;
    }
    replaceKeepingBackup(file->path(), path);
    tap.finish(path);
    AddRecentFile(recentEntry(requestedPath));
    return true;
}
