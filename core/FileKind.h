#pragma once
// Which kind of database a file is, told from its first bytes alone (no
// password needed): for choosing how to open it and for listing it.

#include "core/Protection.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// The kind whose magic `first` (a file's first bytes, eight or more for the
// strong kind) starts with; nothing for any other file.
std::optional<Protection> ProtectionOfBytes(std::span<const uint8_t> first);
// The same for the file at `path`; nothing too when it cannot be read.
std::optional<Protection> ProtectionOfFile(const std::string& path);
