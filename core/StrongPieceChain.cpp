#include "core/StrongPieceChain.h"

#include <cstring>

namespace {

constexpr size_t kCounterBytes = 4;
constexpr size_t kCodeBytes = 16;

uint32_t loadCounter(const uint8_t* b) {
    return static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
           static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
}

void storeCounter(uint8_t* b, uint32_t v) {
    for (size_t i = 0; i < kCounterBytes; ++i, v >>= 8)
        b[i] = static_cast<uint8_t>(v);
}

bool tryChain() {
    using State = StrongPieceChain::State;
    if (sodium_init() < 0)
        return false;
    uint8_t key[crypto_secretstream_xchacha20poly1305_KEYBYTES];
    uint8_t header[crypto_secretstream_xchacha20poly1305_HEADERBYTES];
    crypto_secretstream_xchacha20poly1305_keygen(key);
    State pushing, pulling;
    crypto_secretstream_xchacha20poly1305_init_push(&pushing, header, key);
    crypto_secretstream_xchacha20poly1305_init_pull(&pulling, header, key);
    StrongPieceChain chain(pulling);
    constexpr size_t kPlain = 40;
    const uint8_t plain[kPlain] = {1, 2, 3};
    uint8_t piece[kPlain + crypto_secretstream_xchacha20poly1305_ABYTES];
    uint8_t back[kPlain];
    bool holds = true;
    for (int i = 0; i < 3 && holds; ++i) {
        crypto_secretstream_xchacha20poly1305_push(&pushing, piece, nullptr, plain, kPlain, nullptr, 0,
                                                   crypto_secretstream_xchacha20poly1305_TAG_MESSAGE);
        State predicted = chain.stateFor(chain.step(piece, sizeof piece));
        holds = std::memcmp(&predicted, &pulling, sizeof predicted) == 0 &&
                crypto_secretstream_xchacha20poly1305_pull(&pulling, back, nullptr, nullptr, piece,
                                                           sizeof piece, nullptr, 0) == 0;
        sodium_memzero(&predicted, sizeof predicted);
    }
    sodium_memzero(key, sizeof key);
    sodium_memzero(&pushing, sizeof pushing);
    sodium_memzero(&pulling, sizeof pulling);
    return holds;
}

} // namespace

StrongPieceChain::StrongPieceChain(const State& start)
    : m_state(start), m_counter(loadCounter(start.nonce)) {}

StrongPieceChain::~StrongPieceChain() {
    sodium_memzero(&m_state, sizeof m_state);
}

StrongPieceChain::Nonce StrongPieceChain::step(const uint8_t* piece, size_t size) {
    const Nonce nonce = peek();
    const uint8_t* code = piece + size - kCodeBytes;
    for (size_t i = 0; i < codeBytesUsed; ++i)
        m_state.nonce[kCounterBytes + i] ^= code[i];
    storeCounter(m_state.nonce, ++m_counter);
    return nonce;
}

StrongPieceChain::Nonce StrongPieceChain::peek() const {
    Nonce nonce;
    std::memcpy(nonce.data(), m_state.nonce, nonce.size());
    return nonce;
}

StrongPieceChain::State StrongPieceChain::stateFor(const Nonce& nonce) const {
    State state = m_state;
    std::memcpy(state.nonce, nonce.data(), nonce.size());
    return state;
}

uint64_t StrongPieceChain::stepsLeft() const {
    return UINT32_MAX - m_counter;
}

bool StrongPieceChain::predictable() {
    static const bool holds = tryChain();
    return holds;
}
