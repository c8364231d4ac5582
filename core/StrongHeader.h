#pragma once
// The first 64 bytes of a strongly protected database file: what identifies
// it, how its key is derived and how its enciphered body starts.
//
//   0  8  magic 1A 7F 1D 53 54 52 4E 47
//   8  2  format version of this kind, little-endian (1)
//  10  1  key derivation algorithm (2: Argon2id version 1.3)
//  11  1  reserved, 0
//  12  4  operations limit, little-endian
//  16  8  memory limit in bytes, little-endian
//  24 16  salt
//  40 24  header of the enciphered stream
//
// The body follows: pieces of at most 64 KiB of the database stream, each
// enciphered and authenticated on its own (17 bytes more than its plaintext),
// the last marked as the end. All 64 bytes above are authenticated with the
// first piece.

#include "core/StrongKey.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

class StrongHeader {
public:
    static constexpr size_t size = 64;
    static constexpr size_t magicSize = 8;
    static constexpr std::array<uint8_t, magicSize> magic = {0x1A, 0x7F, 0x1D, 0x53, 0x54, 0x52, 0x4E, 0x47};
    static constexpr uint16_t version = 1;
    static constexpr uint8_t argon2id = 2;
    static constexpr size_t streamHeaderOffset = 40;
    static constexpr size_t streamHeaderSize = 24;
    // Plaintext of every piece but the last, and what enciphering adds to each.
#ifndef SEALBOOK_SMALL_PIECES
    static constexpr size_t pieceSize = size_t{64} << 10;
#else
    // The fuzzers build with small pieces, so that short inputs cross them.
    static constexpr size_t pieceSize = 256;
#endif
    static constexpr size_t pieceOverhead = 17;

    // True when `first` (the file's first bytes, any number) starts with the magic.
    static bool startsWithMagic(std::span<const uint8_t> first);
    // The same for the first four bytes only: where the other kind has its magic.
    static bool startsWithMagicPrefix(const uint8_t* first4) {
        return std::equal(magic.begin(), magic.begin() + 4, first4);
    }

    // Reads a header; throws FileError (with `path`) for an unknown version or
    // algorithm and for costs this program refuses to derive a key with. The
    // costs are checked here, before anything is allocated for them.
    static StrongHeader parse(const std::array<uint8_t, size>& bytes, const std::string& path);

    StrongHeader(const StrongKey::Costs& costs, const StrongKey::Salt& salt);

    // The 64 bytes, with `streamHeader` in place.
    std::array<uint8_t, size> bytes() const;

    StrongKey::Costs costs;
    StrongKey::Salt salt;
    std::array<uint8_t, streamHeaderSize> streamHeader{};
};
