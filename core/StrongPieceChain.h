#pragma once
// Where each piece of an enciphered stream starts. The library's state before
// a piece is the state before the previous piece with its counter stepped on
// and its inner nonce mixed with the first bytes of that piece's
// authentication code, which the file holds at the end of the piece. So the
// states of pieces still to be deciphered follow from the file bytes alone,
// and the pieces can be deciphered side by side, each one still checked in
// full by the library. predictable() makes sure the library keeps its states
// so before a reader relies on it.

#include <sodium.h>

#include <array>
#include <cstddef>
#include <cstdint>

class StrongPieceChain {
public:
    using State = crypto_secretstream_xchacha20poly1305_state;
    using Nonce = std::array<uint8_t, sizeof(State::nonce)>;
    // The bytes of a piece's authentication code that enter the next state.
    static constexpr size_t codeBytesUsed = 8;

    // `start`: the state the library set up for the first piece.
    explicit StrongPieceChain(const State& start);
    ~StrongPieceChain();
    StrongPieceChain(const StrongPieceChain&) = delete;
    StrongPieceChain& operator=(const StrongPieceChain&) = delete;

    // The nonce the next piece is deciphered with; then steps past that piece,
    // `piece` being its `size` bytes of ciphertext (at least the code's 16).
    Nonce step(const uint8_t* piece, size_t size);
    // The nonce step() will give next.
    Nonce peek() const;
    // The whole state for a piece deciphered with `nonce`; the caller wipes it.
    State stateFor(const Nonce& nonce) const;
    // How many more pieces can be stepped past before the counter would wrap
    // around (the library then changes the key, which no chain foresees).
    uint64_t stepsLeft() const;

    // True when the library's states follow the rule above, tried once on a
    // short stream of its own; otherwise pieces are deciphered in turn.
    static bool predictable();

private:
    State m_state;
    uint32_t m_counter;
};
