#include "core/StrongDecipheringSource.h"

#include "core/FileError.h"
#include "core/ReadUpTo.h"
#include "core/SnapshotTap.h"
#include "core/StrongHeader.h"
#include "core/StrongKey.h"

#include <algorithm>

namespace {

constexpr size_t kPlain = StrongHeader::pieceSize;
constexpr size_t kCipher = StrongHeader::pieceSize + StrongHeader::pieceOverhead;

} // namespace

StrongDecipheringSource::StrongDecipheringSource(int fd, uint64_t size, const StrongKey& key,
                                                 const StrongHeader& header, std::string path)
    : m_fd(fd), m_remaining(size), m_path(std::move(path)), m_cipher(kCipher), m_plain(kPlain) {
    const auto bytes = header.bytes();
    m_additional.assign(bytes.begin(), bytes.end());
    crypto_secretstream_xchacha20poly1305_init_pull(&m_state, header.streamHeader.data(), key.bytes());
}

StrongDecipheringSource::~StrongDecipheringSource() {
    sodium_memzero(&m_state, sizeof m_state);
    sodium_memzero(m_plain.data(), m_plain.size());
}

void StrongDecipheringSource::damaged(const char* detail) const {
    throw FileError(FileError::Kind::Damaged, m_path, detail);
}

void StrongDecipheringSource::readFile(uint8_t* out, size_t size) {
    const size_t got = ReadUpTo(m_fd, out, size, m_path);
    if (got < size)
        damaged("the file became shorter while it was read");
    if (m_tap)
        m_tap->fileBytes(out, got);
    m_remaining -= got;
}

size_t StrongDecipheringSource::nextPlainSize() const {
    if (m_ended)
        return 0;
    const size_t piece = static_cast<size_t>(std::min<uint64_t>(m_remaining, kCipher));
    return piece > StrongHeader::pieceOverhead ? piece - StrongHeader::pieceOverhead : 0;
}

size_t StrongDecipheringSource::pullInto(uint8_t* out) {
    const size_t piece = static_cast<size_t>(std::min<uint64_t>(m_remaining, kCipher));
    if (piece < StrongHeader::pieceOverhead)
        damaged("the end mark is missing");
    readFile(m_cipher.data(), piece);
    unsigned long long plainSize = 0;
    unsigned char tag = 0;
    const bool first = m_first;
    m_first = false;
    if (crypto_secretstream_xchacha20poly1305_pull(&m_state, out, &plainSize, &tag, m_cipher.data(), piece,
                                                   first ? m_additional.data() : nullptr,
                                                   first ? m_additional.size() : 0) != 0) {
        // The first piece is checked with a key made from the password: a
        // piece that does not check tells a wrong password before damage.
        if (first)
            throw WrongPasswordError();
        damaged("a piece does not check");
    }
    if (tag == crypto_secretstream_xchacha20poly1305_TAG_FINAL) {
        m_ended = true;
        if (m_remaining > 0)
            damaged("bytes follow the end mark");
        // The size taken at the start must still be the whole file.
        uint8_t beyond;
        if (ReadUpTo(m_fd, &beyond, 1, m_path) > 0)
            damaged("the file became longer while it was read");
    } else if (tag != crypto_secretstream_xchacha20poly1305_TAG_MESSAGE || plainSize != kPlain) {
        damaged("a piece is out of place");
    }
    return static_cast<size_t>(plainSize);
}

std::span<const uint8_t> StrongDecipheringSource::next() {
    if (m_ended)
        return {};
    const size_t n = pullInto(m_plain.data());
    return {m_plain.data(), n};
}

uint64_t StrongDecipheringSource::remaining() const {
    if (m_ended)
        return 0;
    const uint64_t pieces = (m_remaining + kCipher - 1) / kCipher;
    const uint64_t overhead = pieces * StrongHeader::pieceOverhead;
    return m_remaining > overhead ? m_remaining - overhead : 0;
}

size_t StrongDecipheringSource::readInto(uint8_t* out, size_t size) {
    size_t done = 0;
    for (;;) {
        const size_t want = nextPlainSize();
        if (want == 0 || size - done < kPlain)
            break; // the piece goes through next(), whose buffer holds a whole one
        done += pullInto(out + done);
    }
    return done;
}

void StrongDecipheringSource::finish() {
    while (!m_ended)
        pullInto(m_plain.data());
}
