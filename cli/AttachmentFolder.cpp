#include "cli/AttachmentFolder.h"

#include "cli/CliError.h"
#include "cli/CliTexts.h"
#include "cli/Utf.h"
#include "core/FileError.h"

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <system_error>
#include <unistd.h>

namespace {

constexpr size_t kMaxNameBytes = 200;
constexpr const char* kFallbackName = "attachment";

// Cuts a UTF-8 string to at most `limit` bytes without splitting a character.
std::string cutUtf8(std::string s, size_t limit) {
    if (s.size() <= limit)
        return s;
    size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80)
        --end;
    s.resize(end);
    return s;
}

// "name.ext" → "name (n).ext"; a leading dot does not start an extension.
std::string numbered(const std::string& name, int n) {
    const auto dot = name.rfind('.');
    const std::string suffix = " (" + std::to_string(n) + ")";
    if (dot == std::string::npos || dot == 0)
        return name + suffix;
    return name.substr(0, dot) + suffix + name.substr(dot);
}

bool writeAll(int fd, const std::vector<uint8_t>& data) {
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

} // namespace

AttachmentFolder::AttachmentFolder(std::filesystem::path folder, bool create) : m_folder(std::move(folder)) {
    if (!create)
        return;
    std::error_code ec;
    std::filesystem::create_directories(m_folder, ec);
    if (ec || !std::filesystem::is_directory(m_folder))
        throw CliError(FormatText(CliTexts::cannotCreateDir, {m_folder.string()}));
}

std::string AttachmentFolder::SafeFileName(const std::u16string& attachmentName) {
    // Only the last part: both separators count, as names from the other
    // edition's platform use backslashes.
    size_t start = 0;
    for (size_t i = 0; i < attachmentName.size(); ++i) {
        if (attachmentName[i] == u'/' || attachmentName[i] == u'\\')
            start = i + 1;
    }
    std::u16string last = attachmentName.substr(start);
    for (auto& c : last) {
        if (c < 0x20 || c == 0x7F || c == u':')
            c = u'_';
    }
    // ToUtf8 turns a lone surrogate into U+FFFD, so the name is always UTF-8.
    std::string name = cutUtf8(ToUtf8(last), kMaxNameBytes);
    while (!name.empty() && (name.back() == ' ' || name.back() == '.'))
        name.pop_back();
    if (name.empty() || name == "." || name == "..")
        name = kFallbackName;
    return name;
}

std::string AttachmentFolder::Write(const std::u16string& attachmentName, const std::vector<uint8_t>& data) {
    const std::string base = SafeFileName(attachmentName);
    for (int n = 1;; ++n) {
        const std::string name = n == 1 ? base : numbered(base, n);
        const std::filesystem::path target = m_folder / name;
        // O_EXCL also refuses a symbolic link at the name, wherever it points.
        const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST && n < 100000)
                continue;
            throw FileError(FileError::kindFromErrno(errno), target.string());
        }
        const bool written = writeAll(fd, data);
        const int err = errno;
        const bool closed = ::close(fd) == 0;
        if (!written || !closed) {
            ::unlink(target.c_str());
            throw FileError(FileError::kindFromErrno(written ? errno : err), target.string());
        }
        return name;
    }
}

std::vector<uint8_t> AttachmentFolder::Read(const std::string& fileName, const std::string& where) const {
    if (fileName.empty() || fileName == "." || fileName == ".." || fileName.find('/') != std::string::npos ||
        fileName.find('\0') != std::string::npos)
        throw CliError(FormatText(CliTexts::jsonBadAttachmentFile, {where}));
    const std::filesystem::path source = m_folder / fileName;
    errno = 0;
    std::ifstream in(source, std::ios::binary);
    if (!in)
        throw FileError(errno ? FileError::kindFromErrno(errno) : FileError::Kind::Generic, source.string());
    std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw FileError(FileError::Kind::Generic, source.string());
    return data;
}
