#include "core/DecipheringSource.h"

#include "core/DatabaseCipher.h"
#include "core/FileError.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace {

// A whole number of cipher units: only the very last piece may end in a
// partial unit, which stays as it is.
constexpr size_t kPieceSize = size_t{1} << 20;
static_assert(kPieceSize % DatabaseCipher::unitSize == 0);

} // namespace

DecipheringSource::DecipheringSource(int fd, uint64_t size, const DatabaseCipher& cipher, std::string path)
    : m_fd(fd), m_remaining(size), m_cipher(cipher), m_path(std::move(path)) {}

std::span<const uint8_t> DecipheringSource::next() {
    const size_t want = static_cast<size_t>(std::min<uint64_t>(m_remaining, kPieceSize));
    if (want == 0)
        return {};
    if (m_buffer.size() < want)
        m_buffer.resize(want);
    size_t got = 0;
    while (got < want) {
        const ssize_t n = ::read(m_fd, m_buffer.data() + got, want - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw FileError(FileError::kindFromErrno(errno), m_path);
        }
        if (n == 0)
            break; // the file became shorter while it was read
        got += static_cast<size_t>(n);
    }
    // A file that ends early ends the stream here; the reader reports what is missing.
    m_remaining = got < want ? 0 : m_remaining - got;
    m_cipher.decipher(m_buffer.data(), got);
    return {m_buffer.data(), got};
}
