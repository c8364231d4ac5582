#pragma once
// Fixed values of the database file around the enciphered stream.

#include "core/DatabaseCipher.h"

#include <cstddef>
#include <cstdint>
#include <string>

// The first four bytes of every database file written: 1A 7F 1D AF.
inline constexpr uint32_t kFileMagic = 0xAF1D7F1A;
inline constexpr size_t kFileMagicSize = 4;
// Where the enciphered stream starts: after the magic and the random prefix.
inline constexpr size_t kStreamOffset = kFileMagicSize + DatabaseCipher::prefixSize;
// The backup of the previous file is the whole path with this appended.
inline constexpr const char* kBackupSuffix = ".bak";

// True when the file at `path` starts as a database file does (its magic
// number). Only the first bytes are read: a file that passes may still be
// damaged further on or need another password. False for anything that cannot
// be read. The check every kind of database file must pass, wherever a file
// is to be taken for a database without opening it.
bool IsDatabaseFile(const std::string& path);
