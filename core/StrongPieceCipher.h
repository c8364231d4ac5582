#pragma once
// Enciphers and authenticates one piece of a strongly protected stream, or
// checks and deciphers one, giving exactly the bytes the stream library's own
// push and pull give and moving its state on the same way, but on the faster ChaCha20 and Poly1305 of the
// system's TLS library: a 200 MB file spends most of its time here.
//
// A piece is: the tag byte enciphered with the second key-stream block, the
// plaintext with the blocks from the third on, and a Poly1305 code, keyed by
// the first block, over the additional data, the whole enciphered tag block
// and the ciphertext (each padded as the library pads them) and the two
// lengths. The first 8 bytes of the code are then mixed into the state's
// inner nonce and its counter is stepped on. matchesLibrary() checks all of
// this against the library once, before a writer relies on it.

#include <sodium.h>

#include <cstddef>
#include <cstdint>

struct evp_cipher_ctx_st;
struct evp_cipher_st;
struct evp_mac_ctx_st;

class StrongPieceCipher {
public:
    using State = crypto_secretstream_xchacha20poly1305_state;

    StrongPieceCipher();
    ~StrongPieceCipher();
    StrongPieceCipher(const StrongPieceCipher&) = delete;
    StrongPieceCipher& operator=(const StrongPieceCipher&) = delete;

    // Writes size + ABYTES bytes to `out` and moves `state` past the piece,
    // as crypto_secretstream_xchacha20poly1305_push does.
    void push(State& state, uint8_t* out, const uint8_t* plain, size_t size, const uint8_t* additional,
              size_t additionalSize, unsigned char tag);

    // Checks and deciphers one piece of `inSize` bytes as
    // crypto_secretstream_xchacha20poly1305_pull does, moving `state` past it;
    // false, with nothing deciphered, when its code does not match.
    bool pull(State& state, uint8_t* out, size_t& size, unsigned char& tag, const uint8_t* in, size_t inSize,
              const uint8_t* additional, size_t additionalSize);
    // Both throw std::runtime_error should the TLS library itself fail, before
    // `state` has moved on.

    // True when push() and pull() give the library's bytes and states, tried
    // once on a short stream of its own; otherwise writers and readers use the
    // library's own push and pull.
    static bool matchesLibrary();

private:
    void release();
    // Starts a piece: its key stream, its code's key, the additional data.
    void begin(const State& state, const uint8_t* additional, size_t additionalSize);
    // Ends the code over a piece of `size` bytes of plaintext.
    void end(size_t additionalSize, size_t size, uint8_t* code);
    static void advance(State& state, const uint8_t* code, unsigned char tag);
    void encipher(uint8_t* out, const uint8_t* in, size_t size);
    void authenticate(const uint8_t* data, size_t size);

    evp_cipher_st* m_chacha = nullptr;
    evp_cipher_ctx_st* m_cipher = nullptr;
    evp_mac_ctx_st* m_mac = nullptr;
};
