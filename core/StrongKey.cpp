#include "core/StrongKey.h"

#include <new>
#include <sodium.h>
#include <stdexcept>
#include <string>

namespace {

void initSodium() {
    static const bool ready = sodium_init() >= 0;
    if (!ready)
        throw std::runtime_error("the cryptographic library could not be initialised");
}

// The password as UTF-8; a lone surrogate becomes U+FFFD. The caller wipes it.
std::string utf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

class Wiped {
public:
    explicit Wiped(std::string& s) : m_s(s) {}
    ~Wiped() { sodium_memzero(m_s.data(), m_s.size()); }
    Wiped(const Wiped&) = delete;
    Wiped& operator=(const Wiped&) = delete;

private:
    std::string& m_s;
};

} // namespace

StrongKey::Costs StrongKey::defaultCosts() {
    return {crypto_pwhash_OPSLIMIT_MODERATE, crypto_pwhash_MEMLIMIT_MODERATE};
}

StrongKey::Costs StrongKey::smallestCosts() {
    return {crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN};
}

bool StrongKey::acceptable(const Costs& costs) {
    return costs.opsLimit >= crypto_pwhash_OPSLIMIT_MIN && costs.opsLimit <= kMaxOpsLimit &&
           costs.opsLimit <= crypto_pwhash_OPSLIMIT_MAX && costs.memLimit >= crypto_pwhash_MEMLIMIT_MIN &&
           costs.memLimit <= kMaxMemLimit && costs.memLimit <= crypto_pwhash_MEMLIMIT_MAX;
}

void StrongKey::randomBytes(uint8_t* out, size_t size) {
    initSodium();
    randombytes_buf(out, size);
}

namespace {

StrongKey::Salt newSalt() {
    StrongKey::Salt salt;
    StrongKey::randomBytes(salt.data(), salt.size());
    return salt;
}

} // namespace

StrongKey::StrongKey(std::u16string_view password, const Costs& costs)
    : StrongKey(password, costs, newSalt()) {}

StrongKey::StrongKey(std::u16string_view password, const Costs& costs, const Salt& salt)
    : m_costs(costs), m_salt(salt) {
    initSodium();
    if (!acceptable(costs))
        throw std::invalid_argument("key derivation costs out of range");
    std::string bytes = utf8(password);
    Wiped wiped(bytes);
    if (crypto_pwhash(m_key.data(), m_key.size(), bytes.data(), bytes.size(), m_salt.data(), m_costs.opsLimit,
                      static_cast<size_t>(m_costs.memLimit), crypto_pwhash_ALG_ARGON2ID13) != 0)
        throw std::bad_alloc(); // the only failure left with acceptable costs
    m_passwordDigest = passwordDigest(password);
}

StrongKey::~StrongKey() {
    sodium_memzero(m_key.data(), m_key.size());
    sodium_memzero(m_passwordDigest.data(), m_passwordDigest.size());
}

// A keyed digest of the password, so that the kept key can tell whether the
// password changed without keeping the password itself.
StrongKey::Digest StrongKey::passwordDigest(std::u16string_view password) const {
    std::string bytes = utf8(password);
    Wiped wiped(bytes);
    Digest digest;
    crypto_generichash(digest.data(), digest.size(), reinterpret_cast<const unsigned char*>(bytes.data()),
                       bytes.size(), m_key.data(), m_key.size());
    return digest;
}

bool StrongKey::fits(std::u16string_view password, const Costs& costs) const {
    if (costs != m_costs)
        return false;
    Digest digest = passwordDigest(password);
    const bool same = sodium_memcmp(digest.data(), m_passwordDigest.data(), digest.size()) == 0;
    sodium_memzero(digest.data(), digest.size());
    return same;
}

bool StrongKey::fits(std::u16string_view password, const Costs& costs, const Salt& salt) const {
    return salt == m_salt && fits(password, costs);
}
