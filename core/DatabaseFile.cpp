#include "core/DatabaseFile.h"

#include "core/FileKind.h"

bool IsDatabaseFile(const std::string& path) {
    return ProtectionOfFile(path).has_value();
}
