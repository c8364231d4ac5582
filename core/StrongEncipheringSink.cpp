#include "core/StrongEncipheringSink.h"

#include "core/StrongHeader.h"
#include "core/StrongKey.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kPlain = StrongHeader::pieceSize;
constexpr size_t kCipher = StrongHeader::pieceSize + StrongHeader::pieceOverhead;
// Pieces gathered per file write.
constexpr size_t kPiecesPerWrite = 16;

} // namespace

StrongEncipheringSink::StrongEncipheringSink(const StrongKey& key, FileSink& file)
    : m_writer(file, kCipher * kPiecesPerWrite),
      m_pieceCipher(StrongPieceCipher::matchesLibrary() ? std::make_unique<StrongPieceCipher>() : nullptr),
      m_plain(kPlain), m_out(&m_writer.fill()) {
    StrongHeader header(key.costs(), key.salt());
    crypto_secretstream_xchacha20poly1305_init_push(&m_state, header.streamHeader.data(), key.bytes());
    const auto bytes = header.bytes();
    m_additional.assign(bytes.begin(), bytes.end());
    std::copy(bytes.begin(), bytes.end(), m_out->begin());
    m_outUsed = bytes.size();
}

StrongEncipheringSink::~StrongEncipheringSink() {
    sodium_memzero(&m_state, sizeof m_state);
    sodium_memzero(m_plain.data(), m_plain.size());
}

void StrongEncipheringSink::flush() {
    m_writer.send(m_outUsed);
    m_out = &m_writer.fill();
    m_outUsed = 0;
}

void StrongEncipheringSink::push(const uint8_t* plain, size_t size, unsigned char tag) {
    if (m_out->size() - m_outUsed < kCipher)
        flush();
    const uint8_t* additional = m_first ? m_additional.data() : nullptr;
    const size_t additionalSize = m_first ? m_additional.size() : 0;
    uint8_t* out = m_out->data() + m_outUsed;
    if (m_pieceCipher)
        m_pieceCipher->push(m_state, out, plain, size, additional, additionalSize, tag);
    else
        crypto_secretstream_xchacha20poly1305_push(&m_state, out, nullptr, plain, size, additional,
                                                   additionalSize, tag);
    m_first = false;
    m_outUsed += size + crypto_secretstream_xchacha20poly1305_ABYTES;
}

void StrongEncipheringSink::write(const uint8_t* data, size_t size) {
    // A full piece is pushed only once a byte after it is known to exist,
    // since the last piece, however long, carries the end mark.
    while (size > 0) {
        if (m_used == kPlain) {
            push(m_plain.data(), kPlain, crypto_secretstream_xchacha20poly1305_TAG_MESSAGE);
            m_used = 0;
        }
        if (m_used == 0 && size > kPlain) {
            push(data, kPlain, crypto_secretstream_xchacha20poly1305_TAG_MESSAGE);
            data += kPlain;
            size -= kPlain;
            continue;
        }
        const size_t take = std::min(size, kPlain - m_used);
        std::memcpy(m_plain.data() + m_used, data, take);
        m_used += take;
        data += take;
        size -= take;
    }
}

void StrongEncipheringSink::finish() {
    push(m_plain.data(), m_used, crypto_secretstream_xchacha20poly1305_TAG_FINAL);
    m_used = 0;
    m_writer.send(m_outUsed);
    m_writer.finish();
}
