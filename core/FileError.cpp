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

std::string describe(FileError::Kind kind, const std::string& path) {
    const std::string name = path.empty() ? std::string(Texts::unnamedFile) : path;
    switch (kind) {
    case FileError::Kind::EndOfFile:
        return fill(Texts::pastEnd, name);
    case FileError::Kind::BadFormat:
        return Texts::unexpectedFormat;
    case FileError::Kind::Damaged:
        return Texts::damaged;
    case FileError::Kind::FileNotFound:
        return fill(Texts::fileNotFound, name);
    case FileError::Kind::AccessDenied:
        return fill(Texts::accessDenied, name);
    case FileError::Kind::DiskFull:
        return Texts::diskFull;
    case FileError::Kind::Generic:
        break;
    }
    return fill(Texts::genericFileError, name);
}

} // namespace

FileError::FileError(Kind kind, std::string path, const std::string& detail)
    : std::runtime_error(detail.empty() ? describe(kind, path) : describe(kind, path) + " (" + detail + ")"),
      m_kind(kind), m_path(std::move(path)) {}

std::string FileError::message() const {
    return describe(m_kind, m_path);
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
