#pragma once
// What one load or save of a database file saw on its single pass over the
// bytes: the file's identity (size, time, digest of every byte) and the
// deciphered database stream. A window keeps the stream as the copy a later
// merge starts from, and the identity to tell whether another program has
// written the file since.

#include "core/FileIdentity.h"

#include <cstdint>
#include <vector>

struct FileSnapshot {
    FileIdentity identity;
    std::vector<uint8_t> stream;
};
