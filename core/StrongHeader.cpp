#include "core/StrongHeader.h"

#include "core/FileError.h"

#include <algorithm>
#include <sodium.h>

static_assert(StrongHeader::streamHeaderSize == crypto_secretstream_xchacha20poly1305_HEADERBYTES);
static_assert(StrongHeader::pieceOverhead == crypto_secretstream_xchacha20poly1305_ABYTES);
static_assert(StrongKey::saltSize == crypto_pwhash_SALTBYTES);
static_assert(StrongKey::keySize == crypto_secretstream_xchacha20poly1305_KEYBYTES);
static_assert(StrongHeader::argon2id == crypto_pwhash_ALG_ARGON2ID13);

namespace {

constexpr size_t kVersionAt = 8, kAlgorithmAt = 10, kReservedAt = 11, kOpsAt = 12, kMemAt = 16, kSaltAt = 24;

uint64_t readLe(const uint8_t* p, size_t n) {
    uint64_t v = 0;
    for (size_t i = n; i-- > 0;)
        v = v << 8 | p[i];
    return v;
}

void writeLe(uint8_t* p, uint64_t v, size_t n) {
    for (size_t i = 0; i < n; ++i, v >>= 8)
        p[i] = static_cast<uint8_t>(v);
}

} // namespace

bool StrongHeader::startsWithMagic(std::span<const uint8_t> first) {
    return first.size() >= magicSize && std::equal(magic.begin(), magic.end(), first.begin());
}

StrongHeader::StrongHeader(const StrongKey::Costs& c, const StrongKey::Salt& s) : costs(c), salt(s) {}

StrongHeader StrongHeader::parse(const std::array<uint8_t, size>& b, const std::string& path) {
    if (!startsWithMagic(b) || readLe(&b[kVersionAt], 2) != version || b[kAlgorithmAt] != argon2id ||
        b[kReservedAt] != 0)
        throw FileError(FileError::Kind::BadFormat, path);
    StrongHeader header({readLe(&b[kOpsAt], 4), readLe(&b[kMemAt], 8)}, {});
    if (!StrongKey::acceptable(header.costs))
        throw FileError(FileError::Kind::Damaged, path, "key derivation costs out of range");
    std::copy_n(&b[kSaltAt], header.salt.size(), header.salt.begin());
    std::copy_n(&b[streamHeaderOffset], streamHeaderSize, header.streamHeader.begin());
    return header;
}

std::array<uint8_t, StrongHeader::size> StrongHeader::bytes() const {
    std::array<uint8_t, size> b{};
    std::copy(magic.begin(), magic.end(), b.begin());
    writeLe(&b[kVersionAt], version, 2);
    b[kAlgorithmAt] = argon2id;
    writeLe(&b[kOpsAt], costs.opsLimit, 4);
    writeLe(&b[kMemAt], costs.memLimit, 8);
    std::copy(salt.begin(), salt.end(), &b[kSaltAt]);
    std::copy(streamHeader.begin(), streamHeader.end(), &b[streamHeaderOffset]);
    return b;
}
