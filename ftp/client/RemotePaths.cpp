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
