#pragma once
// The cipher layer of the database file: derives the key from the password and
// enciphers or deciphers the bytes that follow the file's magic number, namely
// a 64-byte random prefix (one chained message) followed by the database
// stream in independent 16-byte units. The file layer reads and writes the
// bytes; this class only transforms buffers, so both sides can stream.

#include "core/Aes256.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

class DatabaseCipher {
public:
    static constexpr size_t prefixSize = 64;
    static constexpr size_t unitSize = 16;
    using Key = std::array<uint8_t, Aes256::keySize>;
    // Returns values 0..32767, like the C runtime's rand().
    using RandomSource = std::function<int()>;

    // An empty password stands for the default password.
    explicit DatabaseCipher(std::u16string_view password,
                            Aes256::Implementation impl = Aes256::Implementation::Auto);
    explicit DatabaseCipher(const Key& key, Aes256::Implementation impl = Aes256::Implementation::Auto);
    ~DatabaseCipher();
    DatabaseCipher(const DatabaseCipher&) = default;
    DatabaseCipher& operator=(const DatabaseCipher&) = default;

    // The 32-byte key of a password: SHA-1 over the first n bytes of the
    // password's UTF-16LE form (n = its length in characters), then the first
    // 12 bytes of SHA-1 over the same of the reversed password.
    static Key deriveKey(std::u16string_view password);

    // --- Writing ---
    // The enciphered random prefix, to be written right after the magic number.
    std::array<uint8_t, prefixSize> makePrefix(const RandomSource& random) const;
    // Enciphers stream bytes in place. Call it over consecutive pieces of the
    // stream; every piece but the last must be a multiple of 16 bytes long. A
    // piece that is not ends the stream: its final partial unit is enciphered
    // in a block completed with the previous unit's plaintext, keeping only
    // its first bytes. Further calls after that throw std::logic_error.
    void encipher(uint8_t* data, size_t len);

    // --- Reading ---
    // Deciphers the 64 prefix bytes in place (their content carries no meaning).
    void decipherPrefix(uint8_t* prefix) const;
    // Deciphers whole units in place; a final partial unit (len % 16 bytes) is
    // left as it is, since it cannot be deciphered. Stateless: pieces of any
    // multiple of 16 can be passed in order, the last one of any length.
    void decipher(uint8_t* data, size_t len) const;

    // Whole-buffer helpers: the bytes after the magic number for a stream, and back.
    std::vector<uint8_t> encipherStream(const uint8_t* stream, size_t len, const RandomSource& random);
    // Input shorter than the prefix gives an empty result (the reader then
    // reports the missing data).
    std::vector<uint8_t> decipherStream(const uint8_t* data, size_t len) const;

    const Aes256& aes() const { return m_aes; }

private:
    Aes256 m_aes;
    std::array<uint8_t, unitSize> m_lastPlain{}; // plaintext of the latest full unit
    bool m_finished = false;
};
