#include "core/StrongPieceCipher.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <climits>
#include <cstring>
#include <iterator>
#include <stdexcept>

namespace {

constexpr size_t kBlock = 64;
// The state's 12-byte nonce: a 4-byte counter, then the inner nonce.
constexpr size_t kCounterBytes = 4;
constexpr size_t kInnerNonceBytes = 8;
static_assert(sizeof(StrongPieceCipher::State::nonce) == kCounterBytes + kInnerNonceBytes);
constexpr size_t kCodeBytes = crypto_onetimeauth_poly1305_BYTES;
const uint8_t kZeros[16] = {};
// The cipher library counts in int.
constexpr size_t kLargest = INT_MAX - kBlock;

void check(int result) {
    if (result != 1)
        throw std::runtime_error("the cipher library failed to encipher a piece");
}

void storeLength(uint8_t* b, uint64_t v) {
    for (size_t i = 0; i < 8; ++i, v >>= 8)
        b[i] = static_cast<uint8_t>(v);
}

bool tryAgainstLibrary() {
    using State = StrongPieceCipher::State;
    if (sodium_init() < 0)
        return false;
    try {
        StrongPieceCipher pieceCipher;
        uint8_t key[crypto_secretstream_xchacha20poly1305_KEYBYTES];
        uint8_t header[crypto_secretstream_xchacha20poly1305_HEADERBYTES];
        crypto_secretstream_xchacha20poly1305_keygen(key);
        State library, own, libraryPull, ownPull;
        crypto_secretstream_xchacha20poly1305_init_push(&library, header, key);
        crypto_secretstream_xchacha20poly1305_init_pull(&libraryPull, header, key);
        own = library;
        ownPull = libraryPull;
        // Lengths on either side of the padding, with and without additional data.
        const size_t sizes[] = {0, 1, 47, 48, 200};
        uint8_t plain[200];
        for (size_t i = 0; i < sizeof plain; ++i)
            plain[i] = static_cast<uint8_t>(i * 7 + 3);
        constexpr size_t kOut = sizeof plain + crypto_secretstream_xchacha20poly1305_ABYTES;
        uint8_t expected[kOut], got[kOut], back[sizeof plain], ownBack[sizeof plain];
        bool holds = true;
        for (size_t i = 0; i < std::size(sizes) && holds; ++i) {
            const size_t extra = i % 2 ? 5 : 0;
            const unsigned char tag = i + 1 == std::size(sizes)
                                          ? crypto_secretstream_xchacha20poly1305_TAG_FINAL
                                          : crypto_secretstream_xchacha20poly1305_TAG_MESSAGE;
            crypto_secretstream_xchacha20poly1305_push(&library, expected, nullptr, plain, sizes[i], plain,
                                                       extra, tag);
            pieceCipher.push(own, got, plain, sizes[i], plain, extra, tag);
            const size_t out = sizes[i] + crypto_secretstream_xchacha20poly1305_ABYTES;
            holds = std::memcmp(expected, got, out) == 0 && std::memcmp(&library, &own, sizeof own) == 0;

            // A changed piece is refused; the piece itself reads back as the library reads it.
            got[out - 1] ^= 1;
            size_t size = 0;
            unsigned char ownTag = 0, libraryTag = 0;
            State spare = ownPull;
            holds = holds && !pieceCipher.pull(spare, ownBack, size, ownTag, got, out, plain, extra);
            holds = holds && pieceCipher.pull(ownPull, ownBack, size, ownTag, expected, out, plain, extra) &&
                    crypto_secretstream_xchacha20poly1305_pull(&libraryPull, back, nullptr, &libraryTag,
                                                               expected, out, plain, extra) == 0 &&
                    size == sizes[i] && ownTag == libraryTag && std::memcmp(back, ownBack, size) == 0 &&
                    std::memcmp(&libraryPull, &ownPull, sizeof ownPull) == 0;
            sodium_memzero(&spare, sizeof spare);
        }
        sodium_memzero(&libraryPull, sizeof libraryPull);
        sodium_memzero(&ownPull, sizeof ownPull);
        sodium_memzero(key, sizeof key);
        sodium_memzero(&library, sizeof library);
        sodium_memzero(&own, sizeof own);
        return holds;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace

StrongPieceCipher::StrongPieceCipher()
    : m_chacha(EVP_CIPHER_fetch(nullptr, "ChaCha20", nullptr)), m_cipher(EVP_CIPHER_CTX_new()) {
    EVP_MAC* poly = EVP_MAC_fetch(nullptr, "POLY1305", nullptr);
    if (poly) {
        m_mac = EVP_MAC_CTX_new(poly);
        EVP_MAC_free(poly); // the context keeps its own reference
    }
    if (!m_chacha || !m_cipher || !m_mac) {
        release();
        throw std::runtime_error("the cipher library has no ChaCha20 or Poly1305");
    }
}

StrongPieceCipher::~StrongPieceCipher() {
    release();
}

void StrongPieceCipher::release() {
    EVP_MAC_CTX_free(m_mac);
    EVP_CIPHER_CTX_free(m_cipher);
    EVP_CIPHER_free(m_chacha);
    m_mac = nullptr;
    m_cipher = nullptr;
    m_chacha = nullptr;
}

void StrongPieceCipher::encipher(uint8_t* out, const uint8_t* in, size_t size) {
    int written = 0;
    check(EVP_EncryptUpdate(m_cipher, out, &written, in, static_cast<int>(size)));
    if (static_cast<size_t>(written) != size)
        check(0);
}

void StrongPieceCipher::authenticate(const uint8_t* data, size_t size) {
    if (size > 0)
        check(EVP_MAC_update(m_mac, data, size));
}

void StrongPieceCipher::begin(const State& state, const uint8_t* additional, size_t additionalSize) {
    // The key stream starts at block 0 of this piece's nonce: the counter
    // word comes first in the cipher's IV.
    uint8_t iv[16] = {};
    std::memcpy(iv + 4, state.nonce, sizeof state.nonce);
    check(EVP_EncryptInit_ex2(m_cipher, m_chacha, state.k, iv, nullptr));
    uint8_t block[kBlock] = {};
    encipher(block, block, kBlock); // block 0: the one-time key
    check(EVP_MAC_init(m_mac, block, 32, nullptr));
    sodium_memzero(block, sizeof block);
    authenticate(additional, additionalSize);
    authenticate(kZeros, (0x10 - additionalSize) & 0xf);
}

void StrongPieceCipher::end(size_t additionalSize, size_t size, uint8_t* code) {
    // The library pads the ciphertext by the length counted from the tag
    // block; the lengths follow. Both are kept as it keeps them.
    authenticate(kZeros, (0x10 - kBlock + size) & 0xf);
    uint8_t lengths[16];
    storeLength(lengths, additionalSize);
    storeLength(lengths + 8, kBlock + size);
    authenticate(lengths, sizeof lengths);
    size_t codeSize = 0;
    check(EVP_MAC_final(m_mac, code, &codeSize, kCodeBytes));
}

void StrongPieceCipher::advance(State& state, const uint8_t* code, unsigned char tag) {
    for (size_t i = 0; i < kInnerNonceBytes; ++i)
        state.nonce[kCounterBytes + i] ^= code[i];
    sodium_increment(state.nonce, kCounterBytes);
    if ((tag & crypto_secretstream_xchacha20poly1305_TAG_REKEY) != 0 ||
        sodium_is_zero(state.nonce, kCounterBytes))
        crypto_secretstream_xchacha20poly1305_rekey(&state);
}

void StrongPieceCipher::push(State& state, uint8_t* out, const uint8_t* plain, size_t size,
                             const uint8_t* additional, size_t additionalSize, unsigned char tag) {
    if (size > kLargest)
        throw std::invalid_argument("piece too large");
    begin(state, additional, additionalSize);
    uint8_t block[kBlock] = {};
    block[0] = tag;
    encipher(block, block, kBlock); // block 1: the tag
    authenticate(block, kBlock);
    out[0] = block[0];
    sodium_memzero(block, sizeof block);

    uint8_t* cipher = out + 1;
    encipher(cipher, plain, size); // blocks 2 on: the plaintext
    authenticate(cipher, size);
    uint8_t* code = cipher + size;
    end(additionalSize, size, code);
    advance(state, code, tag);
}

bool StrongPieceCipher::pull(State& state, uint8_t* out, size_t& size, unsigned char& tag, const uint8_t* in,
                             size_t inSize, const uint8_t* additional, size_t additionalSize) {
    if (inSize < crypto_secretstream_xchacha20poly1305_ABYTES ||
        inSize - crypto_secretstream_xchacha20poly1305_ABYTES > kLargest)
        return false;
    const size_t plainSize = inSize - crypto_secretstream_xchacha20poly1305_ABYTES;
    begin(state, additional, additionalSize);
    uint8_t block[kBlock] = {};
    encipher(block, block, kBlock); // block 1's key stream
    const unsigned char pieceTag = static_cast<unsigned char>(in[0] ^ block[0]);
    block[0] = in[0];
    authenticate(block, kBlock);
    sodium_memzero(block, sizeof block);

    const uint8_t* cipher = in + 1;
    authenticate(cipher, plainSize);
    uint8_t code[kCodeBytes];
    end(additionalSize, plainSize, code);
    // Nothing is deciphered from a piece whose code does not match.
    if (CRYPTO_memcmp(code, cipher + plainSize, kCodeBytes) != 0) {
        sodium_memzero(code, sizeof code);
        return false;
    }
    encipher(out, cipher, plainSize);
    size = plainSize;
    tag = pieceTag;
    advance(state, code, pieceTag);
    return true;
}

bool StrongPieceCipher::matchesLibrary() {
    static const bool holds = tryAgainstLibrary();
    return holds;
}
