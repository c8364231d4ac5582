#include "core/DatabaseCipher.h"

#include "core/SecretWipe.h"
#include "core/Sha1.h"
#include "core/Texts.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

namespace {

// The first `n` bytes of the UTF-16LE form of `text`.
std::vector<uint8_t> leadingBytes(std::u16string_view text, size_t n) {
    std::vector<uint8_t> bytes;
    bytes.reserve(2 * text.size());
    for (char16_t c : text) {
        bytes.push_back(uint8_t(c & 0xFF));
        bytes.push_back(uint8_t(c >> 8));
    }
    bytes.resize(std::min(n, bytes.size()));
    return bytes;
}

// A derived key that is wiped once the cipher built from it holds its schedule.
struct ScopedKey {
    DatabaseCipher::Key key;
    ~ScopedKey() { WipeMemory(key.data(), key.size()); }
};

} // namespace

DatabaseCipher::DatabaseCipher(std::u16string_view password, Aes256::Implementation impl)
    : m_aes(ScopedKey{deriveKey(password)}.key, impl) {}

DatabaseCipher::DatabaseCipher(const Key& key, Aes256::Implementation impl) : m_aes(key, impl) {}

DatabaseCipher::~DatabaseCipher() {
    WipeMemory(m_lastPlain.data(), m_lastPlain.size());
}

DatabaseCipher::Key DatabaseCipher::deriveKey(std::u16string_view password) {
    const std::u16string_view p = password.empty() ? std::u16string_view(Texts::defaultPassword) : password;
    std::u16string reversed(p.rbegin(), p.rend());
    // n bytes rather than 2n: only the first half of each text (by bytes)
    // enters its digest. Stored files depend on exactly this.
    const size_t n = p.size();
    std::vector<uint8_t> front = leadingBytes(p, n);
    std::vector<uint8_t> back = leadingBytes(reversed, n);
    Sha1::Digest d1 = Sha1::hash(front.data(), front.size());
    Sha1::Digest d2 = Sha1::hash(back.data(), back.size());

    Key key;
    std::copy(d1.begin(), d1.end(), key.begin());
    std::copy(d2.begin(), d2.begin() + (key.size() - d1.size()), key.begin() + d1.size());
    // Nothing the key was made from stays behind.
    WipeString(reversed);
    WipeVector(front);
    WipeVector(back);
    WipeMemory(d1.data(), d1.size());
    WipeMemory(d2.data(), d2.size());
    return key;
}

std::array<uint8_t, DatabaseCipher::prefixSize> DatabaseCipher::makePrefix(const RandomSource& random) const {
    std::array<uint8_t, prefixSize> prefix;
    for (uint8_t& b : prefix) {
        // Clamped so that a generator outside 0..32767 cannot wrap the byte.
        const int r = std::clamp(random(), 0, 32767);
        b = uint8_t(r * 225 / 32767);
    }
    m_aes.encryptCbc(prefix.data(), prefix.size());
    return prefix;
}

void DatabaseCipher::encipher(uint8_t* data, size_t len) {
    if (m_finished)
        throw std::logic_error("the database stream has already ended with a partial unit");
    const size_t whole = len - len % unitSize;
    if (whole > 0) {
        std::memcpy(m_lastPlain.data(), data + whole - unitSize, unitSize);
        m_aes.encryptBlocks(data, whole);
    }
    const size_t k = len - whole;
    if (k > 0) {
        // The block is completed with what is left of the previous unit's
        // plaintext; only the first k bytes of its ciphertext are kept.
        std::array<uint8_t, unitSize> block = m_lastPlain;
        std::memcpy(block.data(), data + whole, k);
        m_aes.encryptBlock(block.data(), block.data());
        std::memcpy(data + whole, block.data(), k);
        m_finished = true;
    }
}

void DatabaseCipher::decipherPrefix(uint8_t* prefix) const {
    m_aes.decryptCbc(prefix, prefixSize);
}

void DatabaseCipher::decipher(uint8_t* data, size_t len) const {
    m_aes.decryptBlocks(data, len - len % unitSize);
}

std::vector<uint8_t> DatabaseCipher::encipherStream(const uint8_t* stream, size_t len,
                                                    const RandomSource& random) {
    std::vector<uint8_t> out(prefixSize + len);
    const auto prefix = makePrefix(random);
    std::copy(prefix.begin(), prefix.end(), out.begin());
    if (len > 0) {
        std::memcpy(out.data() + prefixSize, stream, len);
        encipher(out.data() + prefixSize, len);
    }
    return out;
}

std::vector<uint8_t> DatabaseCipher::decipherStream(const uint8_t* data, size_t len) const {
    if (len < prefixSize)
        return {};
    std::vector<uint8_t> out(data + prefixSize, data + len);
    decipher(out.data(), out.size());
    return out;
}
