#include "ftp/client/RemotePaths.h"

#include <algorithm>

std::string RemotePath(const std::string& folder, const std::string& name) {
    return folder + "/" + name;
}

std::string BackupName(const std::string& path) {
    const std::string from = kDatabaseExtension;
    const std::string to = kBackupExtension;
    std::string out;
    size_t start = 0;
    for (size_t at; (at = path.find(from, start)) != std::string::npos; start = at + from.size())
        out.append(path, start, at - start).append(to);
    out.append(path, start, std::string::npos);
    return out;
}

std::string RenameTarget(const std::string& enteredName) {
    std::string name = enteredName;
    if (name.find(kDatabaseExtension) == std::string::npos)
        name += kDatabaseExtension;
    std::replace(name.begin(), name.end(), ' ', '_');
    return name;
}

bool IsDatabaseName(const std::string& name) {
    return name.ends_with(kDatabaseExtension);
}

bool ContainsSpace(const std::string& name) {
    return name.find(' ') != std::string::npos;
}

std::string TrimFolder(const std::string& folder) {
    if (!folder.empty() && (folder.back() == '/' || folder.back() == '\\'))
        return folder.substr(0, folder.size() - 1);
    return folder;
}

bool IsPlainName(const std::string& name) {
    return !name.empty() && name.front() != '.' && name.find_first_of("/\\") == std::string::npos;
}

namespace {
constexpr const char* kTemporaryMark = ".part-";
constexpr size_t kTemporarySuffixSize = 8;
} // namespace

std::string TemporaryName(const std::string& name, const std::string& suffix) {
    return name + kTemporaryMark + suffix;
}

std::string TemporaryNameOwner(const std::string& name) {
    const size_t markSize = std::char_traits<char>::length(kTemporaryMark);
    if (name.size() < markSize + kTemporarySuffixSize)
        return {};
    const size_t mark = name.size() - kTemporarySuffixSize - markSize;
    if (name.compare(mark, markSize, kTemporaryMark) != 0)
        return {};
    const bool hex = std::all_of(name.begin() + static_cast<std::ptrdiff_t>(mark + markSize), name.end(),
                                 [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
    const std::string owner = name.substr(0, mark);
    return hex && IsDatabaseName(owner) ? owner : std::string();
}

std::string WithName(const char* text, const std::string& name) {
    std::string out = text;
    if (const size_t at = out.find("%1"); at != std::string::npos)
        out.replace(at, 2, name);
    return out;
}
