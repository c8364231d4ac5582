#include "core/DecipheringSource.h"

#include "core/DatabaseCipher.h"
#include "core/FileError.h"
#include "core/SecretWipe.h"
#include "core/SnapshotTap.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace {

// A whole number of cipher units: only the very last piece may end in a
// partial unit, which stays as it is. Small enough that a piece read,
// deciphered and parsed stays in the processor's cache.
// The fuzzers build with small pieces, so that short inputs cross them too.
#ifndef SEALBOOK_SMALL_PIECES
constexpr size_t kPieceSize = size_t{128} << 10;
#else
constexpr size_t kPieceSize = 4096;
#endif
static_assert(kPieceSize % DatabaseCipher::unitSize == 0);

} // namespace

DecipheringSource::DecipheringSource(int fd, uint64_t size, const DatabaseCipher& cipher, std::string path)
    : m_fd(fd), m_remaining(size), m_checkEnd(size > 0), m_cipher(cipher), m_path(std::move(path)) {}

DecipheringSource::~DecipheringSource() {
    WipeVector(m_buffer);
}

void DecipheringSource::readFile(uint8_t* out, size_t size) {
    size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(m_fd, out + got, size - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw FileError(FileError::kindFromErrno(errno), m_path);
        }
        if (n == 0)
            throw FileError(FileError::Kind::EndOfFile, m_path, "the file became shorter while it was read");
        got += static_cast<size_t>(n);
    }
    if (m_tap)
        m_tap->fileBytes(out, got);
    m_remaining -= got;
    // The size taken at the start must still be the whole file: one that
    // has grown was written to while it was read, and is not what was opened.
    if (m_remaining == 0 && m_checkEnd) {
        uint8_t beyond;
        ssize_t n;
        do {
            n = ::read(m_fd, &beyond, 1);
        } while (n < 0 && errno == EINTR);
        if (n < 0)
            throw FileError(FileError::kindFromErrno(errno), m_path);
        if (n > 0)
            throw FileError(FileError::Kind::Generic, m_path, "the file became longer while it was read");
    }
}

std::span<const uint8_t> DecipheringSource::next() {
    const size_t want = static_cast<size_t>(std::min<uint64_t>(m_remaining, kPieceSize));
    if (want == 0)
        return {};
    if (m_buffer.size() < want)
        m_buffer.resize(want);
    readFile(m_buffer.data(), want);
    m_cipher.decipher(m_buffer.data(), want);
    if (m_tap)
        m_tap->streamBytes(m_buffer.data(), want);
    return {m_buffer.data(), want};
}

size_t DecipheringSource::readInto(uint8_t* out, size_t size) {
    constexpr size_t unit = DatabaseCipher::unitSize;
    const size_t want = static_cast<size_t>(std::min<uint64_t>(m_remaining, size)) / unit * unit;
    size_t done = 0;
    // In slices, so that each is deciphered while it is still in the cache.
    while (done < want) {
        const size_t slice = std::min(want - done, kPieceSize);
        readFile(out + done, slice);
        m_cipher.decipher(out + done, slice);
        if (m_tap)
            m_tap->streamBytes(out + done, slice);
        done += slice;
    }
    return done;
}
