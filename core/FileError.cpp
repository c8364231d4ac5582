#include "core/FileError.h"

#include "core/Texts.h"

#include <cerrno>

namespace {

std::string fill(const char* text, const std::string& name) {
    std::string s(text);
    const auto at = s.find("%1");
    if (at != std::string::npos)
        s.replace(at, 2, name);
    return s;
}

// A text without a place for the name gets the path in front of it, so that
// every message about a file says which file it was.
std::string named(const char* text, const std::string& path) {
    return path.empty() ? std::string(text) : path + ": " + text;
}

std::string describe(FileError::Kind kind, const std::string& path) {
    const std::string name = path.empty() ? std::string(Texts::unnamedFile) : path;
    switch (kind) {
    case FileError::Kind::EndOfFile:
        return fill(Texts::pastEnd, name);
    case FileError::Kind::BadFormat:
        return named(Texts::unexpectedFormat, path);
    case FileError::Kind::Damaged:
        return named(Texts::damaged, path);
    case FileError::Kind::FileNotFound:
        return fill(Texts::fileNotFound, name);
    case FileError::Kind::AccessDenied:
        return fill(Texts::accessDenied, name);
    case FileError::Kind::DiskFull:
        return named(Texts::diskFull, path);
    case FileError::Kind::Generic:
        break;
    }
    return fill(Texts::genericFileError, name);
}

} // namespace

FileError::FileError(Kind kind, std::string path, const std::string& detail)
    : std::runtime_error(detail.empty() ? describe(kind, path) : describe(kind, path) + " (" + detail + ")"),
      m_kind(kind), m_path(std::move(path)), m_detail(detail) {}

std::string FileError::message() const {
    return describe(m_kind, m_path);
}

std::string FileError::lineStartingWithPath() const {
    std::string line = message();
    if (m_path.empty() || line.compare(0, m_path.size(), m_path) == 0)
        return line;
    return m_path + ": " + line;
}

FileError FileError::inFile(const std::string& path) const {
    return m_path.empty() ? FileError(m_kind, path, m_detail) : *this;
}

FileError::Kind FileError::kindFromErrno(int err) {
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        return Kind::FileNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
        return Kind::AccessDenied;
    case ENOSPC:
    case EDQUOT:
        return Kind::DiskFull;
    default:
        return Kind::Generic;
    }
}
