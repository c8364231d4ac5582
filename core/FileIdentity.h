#pragma once
// What a file on disk was when this program last read or wrote it: size,
// modification time and a digest of its bytes. Comparing two tells whether
// another program changed the file in between, even within one clock tick.

#include "core/Sha1.h"

#include <cstdint>
#include <optional>
#include <string>

struct FileIdentity {
    uint64_t size = 0;
    int64_t modifiedSeconds = 0;
    int64_t modifiedNanoseconds = 0;
    Sha1::Digest digest{};

    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file at `path`; nothing when it does not exist or
// cannot be read.
std::optional<FileIdentity> ReadFileIdentity(const std::string& path);
