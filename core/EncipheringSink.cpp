#include "core/EncipheringSink.h"

#include "core/DatabaseCipher.h"
#include "core/FileSink.h"
#include "core/SnapshotTap.h"

#include <algorithm>
#include <cstring>

namespace {

// A whole number of cipher units, large enough for the cipher to run at speed.
constexpr size_t kPieceSize = size_t{1} << 20;
static_assert(kPieceSize % DatabaseCipher::unitSize == 0);

} // namespace

EncipheringSink::EncipheringSink(DatabaseCipher& cipher, FileSink& file)
    : m_cipher(cipher), m_file(file), m_buffer(kPieceSize) {}

void EncipheringSink::writeOut(size_t size) {
    if (m_tap)
        m_tap->streamBytes(m_buffer.data(), size);
    m_cipher.encipher(m_buffer.data(), size);
    if (m_tap)
        m_tap->fileBytes(m_buffer.data(), size);
    m_file.write(m_buffer.data(), size);
    m_used = 0;
}

void EncipheringSink::write(const uint8_t* data, size_t size) {
    while (size > 0) {
        const size_t take = std::min(size, m_buffer.size() - m_used);
        std::memcpy(m_buffer.data() + m_used, data, take);
        m_used += take;
        data += take;
        size -= take;
        if (m_used == m_buffer.size())
            writeOut(m_used);
    }
}

void EncipheringSink::finish() {
    if (m_used > 0)
        writeOut(m_used);
}
