#include "core/Aes256.h"

#include "core/Aes256Ni.h"

#include <cstring>
#include <iterator>
#include <stdexcept>

namespace {

// --- Tables, computed at compile time from the field arithmetic of GF(2^8) ---

constexpr uint8_t xtime(uint8_t x) {
    return uint8_t((x << 1) ^ ((x & 0x80) ? 0x1B : 0));
}

constexpr uint8_t gmul(uint8_t a, uint8_t b) {
    uint8_t r = 0;
    for (; b; b >>= 1, a = xtime(a)) {
        if (b & 1)
            r ^= a;
    }
    return r;
}

struct SBoxes {
    uint8_t fwd[256]{};
    uint8_t inv[256]{};
};

constexpr SBoxes makeSBoxes() {
    SBoxes s;
    // Walk the multiplicative group with generator 3: p runs through 3^i and q
    // through its inverse 3^-i, so q is the inverse of p at every step.
    uint8_t p = 1, q = 1;
    do {
        p = uint8_t(p ^ xtime(p)); // p *= 3
        q ^= uint8_t(q << 1);      // q /= 3
        q ^= uint8_t(q << 2);
        q ^= uint8_t(q << 4);
        if (q & 0x80)
            q ^= 0x09;
        const uint8_t v =
            uint8_t(q ^ (q << 1 | q >> 7) ^ (q << 2 | q >> 6) ^ (q << 3 | q >> 5) ^ (q << 4 | q >> 4) ^ 0x63);
        s.fwd[p] = v;
    } while (p != 1);
    s.fwd[0] = 0x63;
    for (int i = 0; i < 256; ++i)
        s.inv[s.fwd[i]] = uint8_t(i);
    return s;
}

constexpr SBoxes kSBox = makeSBoxes();

constexpr uint32_t word(uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
    return (uint32_t(a) << 24) | (uint32_t(b) << 16) | (uint32_t(c) << 8) | uint32_t(d);
}
constexpr uint32_t rotr8(uint32_t x) {
    return (x >> 8) | (x << 24);
}

struct Tables {
    uint32_t te[4][256]{};
    uint32_t td[4][256]{};
};

constexpr Tables makeTables() {
    Tables t;
    for (int i = 0; i < 256; ++i) {
        const uint8_t s = kSBox.fwd[i];
        t.te[0][i] = word(gmul(s, 2), s, s, gmul(s, 3));
        const uint8_t v = kSBox.inv[i];
        t.td[0][i] = word(gmul(v, 14), gmul(v, 9), gmul(v, 13), gmul(v, 11));
        for (int k = 1; k < 4; ++k) {
            t.te[k][i] = rotr8(t.te[k - 1][i]);
            t.td[k][i] = rotr8(t.td[k - 1][i]);
        }
    }
    return t;
}

constexpr Tables kTables = makeTables();
constexpr auto& Te0 = kTables.te[0];
constexpr auto& Te1 = kTables.te[1];
constexpr auto& Te2 = kTables.te[2];
constexpr auto& Te3 = kTables.te[3];
constexpr auto& Td0 = kTables.td[0];
constexpr auto& Td1 = kTables.td[1];
constexpr auto& Td2 = kTables.td[2];
constexpr auto& Td3 = kTables.td[3];

static_assert(kSBox.fwd[0x00] == 0x63 && kSBox.fwd[0x53] == 0xED && kSBox.fwd[0xFF] == 0x16);
static_assert(kSBox.inv[0x63] == 0x00 && kSBox.inv[0x16] == 0xFF);

inline uint32_t loadBe(const uint8_t* p) {
    return word(p[0], p[1], p[2], p[3]);
}
inline void storeBe(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v >> 24);
    p[1] = uint8_t(v >> 16);
    p[2] = uint8_t(v >> 8);
    p[3] = uint8_t(v);
}
inline uint8_t b0(uint32_t x) {
    return uint8_t(x >> 24);
}
inline uint8_t b1(uint32_t x) {
    return uint8_t(x >> 16);
}
inline uint8_t b2(uint32_t x) {
    return uint8_t(x >> 8);
}
inline uint8_t b3(uint32_t x) {
    return uint8_t(x);
}

// --- Portable cipher over the byte-form schedules ---

void portableEncrypt(const uint32_t* rk, const uint8_t* in, uint8_t* out) {
    uint32_t s0 = loadBe(in) ^ rk[0], s1 = loadBe(in + 4) ^ rk[1];
    uint32_t s2 = loadBe(in + 8) ^ rk[2], s3 = loadBe(in + 12) ^ rk[3];
    for (int r = 1; r < Aes256::rounds; ++r) {
        rk += 4;
        const uint32_t t0 = Te0[b0(s0)] ^ Te1[b1(s1)] ^ Te2[b2(s2)] ^ Te3[b3(s3)] ^ rk[0];
        const uint32_t t1 = Te0[b0(s1)] ^ Te1[b1(s2)] ^ Te2[b2(s3)] ^ Te3[b3(s0)] ^ rk[1];
        const uint32_t t2 = Te0[b0(s2)] ^ Te1[b1(s3)] ^ Te2[b2(s0)] ^ Te3[b3(s1)] ^ rk[2];
        const uint32_t t3 = Te0[b0(s3)] ^ Te1[b1(s0)] ^ Te2[b2(s1)] ^ Te3[b3(s2)] ^ rk[3];
        s0 = t0;
        s1 = t1;
        s2 = t2;
        s3 = t3;
    }
    rk += 4;
    const uint8_t* S = kSBox.fwd;
    storeBe(out, word(S[b0(s0)], S[b1(s1)], S[b2(s2)], S[b3(s3)]) ^ rk[0]);
    storeBe(out + 4, word(S[b0(s1)], S[b1(s2)], S[b2(s3)], S[b3(s0)]) ^ rk[1]);
    storeBe(out + 8, word(S[b0(s2)], S[b1(s3)], S[b2(s0)], S[b3(s1)]) ^ rk[2]);
    storeBe(out + 12, word(S[b0(s3)], S[b1(s0)], S[b2(s1)], S[b3(s2)]) ^ rk[3]);
}

// The equivalent inverse cipher: the same round shape as encryption, with the
// decryption schedule already passed through InvMixColumns.
void portableDecrypt(const uint32_t* rk, const uint8_t* in, uint8_t* out) {
    uint32_t s0 = loadBe(in) ^ rk[0], s1 = loadBe(in + 4) ^ rk[1];
    uint32_t s2 = loadBe(in + 8) ^ rk[2], s3 = loadBe(in + 12) ^ rk[3];
    for (int r = 1; r < Aes256::rounds; ++r) {
        rk += 4;
        const uint32_t t0 = Td0[b0(s0)] ^ Td1[b1(s3)] ^ Td2[b2(s2)] ^ Td3[b3(s1)] ^ rk[0];
        const uint32_t t1 = Td0[b0(s1)] ^ Td1[b1(s0)] ^ Td2[b2(s3)] ^ Td3[b3(s2)] ^ rk[1];
        const uint32_t t2 = Td0[b0(s2)] ^ Td1[b1(s1)] ^ Td2[b2(s0)] ^ Td3[b3(s3)] ^ rk[2];
        const uint32_t t3 = Td0[b0(s3)] ^ Td1[b1(s2)] ^ Td2[b2(s1)] ^ Td3[b3(s0)] ^ rk[3];
        s0 = t0;
        s1 = t1;
        s2 = t2;
        s3 = t3;
    }
    rk += 4;
    const uint8_t* S = kSBox.inv;
    storeBe(out, word(S[b0(s0)], S[b1(s3)], S[b2(s2)], S[b3(s1)]) ^ rk[0]);
    storeBe(out + 4, word(S[b0(s1)], S[b1(s0)], S[b2(s3)], S[b3(s2)]) ^ rk[1]);
    storeBe(out + 8, word(S[b0(s2)], S[b1(s1)], S[b2(s0)], S[b3(s3)]) ^ rk[2]);
    storeBe(out + 12, word(S[b0(s3)], S[b1(s2)], S[b2(s1)], S[b3(s0)]) ^ rk[3]);
}

// The schedule as big-endian words, the form the table rounds work on.
struct WordSchedule {
    uint32_t w[4 * (Aes256::rounds + 1)];
    explicit WordSchedule(const uint8_t* keys) {
        for (size_t i = 0; i < std::size(w); ++i)
            w[i] = loadBe(keys + 4 * i);
    }
};

void requireWholeBlocks(size_t len) {
    if (len % Aes256::blockSize != 0)
        throw std::invalid_argument("AES input is not a whole number of blocks");
}

void invMixColumn(uint8_t* c) {
    const uint8_t a0 = c[0], a1 = c[1], a2 = c[2], a3 = c[3];
    c[0] = gmul(a0, 14) ^ gmul(a1, 11) ^ gmul(a2, 13) ^ gmul(a3, 9);
    c[1] = gmul(a0, 9) ^ gmul(a1, 14) ^ gmul(a2, 11) ^ gmul(a3, 13);
    c[2] = gmul(a0, 13) ^ gmul(a1, 9) ^ gmul(a2, 14) ^ gmul(a3, 11);
    c[3] = gmul(a0, 11) ^ gmul(a1, 13) ^ gmul(a2, 9) ^ gmul(a3, 14);
}

} // namespace

bool Aes256::hardwareAvailable() {
#if defined(__x86_64__) || defined(__i386__)
    static const bool available = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("aes") && __builtin_cpu_supports("sse4.1");
    }();
    return available;
#else
    return false;
#endif
}

Aes256::Aes256(const uint8_t* key, Implementation impl) {
    if (impl == Implementation::Hardware && !hardwareAvailable())
        throw std::runtime_error("this processor has no AES instructions");
    m_hardware = impl != Implementation::Portable && hardwareAvailable();

    // Key expansion: 8 key words, then each word is the one 8 back XOR the
    // previous one, transformed at every 8th (rotate, substitute, round
    // constant) and every 4th (substitute) position.
    uint8_t* w = m_encKeys.data();
    std::memcpy(w, key, keySize);
    uint8_t rcon = 1;
    for (size_t i = keySize; i < m_encKeys.size(); i += 4) {
        uint8_t t[4] = {w[i - 4], w[i - 3], w[i - 2], w[i - 1]};
        if (i % keySize == 0) {
            const uint8_t first = t[0];
            t[0] = uint8_t(kSBox.fwd[t[1]] ^ rcon);
            t[1] = kSBox.fwd[t[2]];
            t[2] = kSBox.fwd[t[3]];
            t[3] = kSBox.fwd[first];
            rcon = xtime(rcon);
        } else if (i % keySize == 16) {
            for (uint8_t& b : t)
                b = kSBox.fwd[b];
        }
        for (int k = 0; k < 4; ++k)
            w[i + k] = uint8_t(w[i - keySize + k] ^ t[k]);
    }

    // The equivalent inverse cipher runs the round keys backwards, the inner
    // ones through InvMixColumns; the hardware's decryption rounds expect the same.
    for (int r = 0; r <= rounds; ++r)
        std::memcpy(m_decKeys.data() + 16 * r, m_encKeys.data() + 16 * (rounds - r), 16);
    for (int r = 1; r < rounds; ++r) {
        for (int c = 0; c < 4; ++c)
            invMixColumn(m_decKeys.data() + 16 * r + 4 * c);
    }
}

Aes256::~Aes256() {
    // Do not leave the key schedule behind in freed memory.
    volatile uint8_t* e = m_encKeys.data();
    volatile uint8_t* d = m_decKeys.data();
    for (size_t i = 0; i < m_encKeys.size(); ++i) {
        e[i] = 0;
        d[i] = 0;
    }
}

void Aes256::encryptBlock(const uint8_t* in, uint8_t* out) const {
    if (m_hardware) {
        std::memmove(out, in, blockSize);
        Aes256Ni::encryptBlocks(m_encKeys.data(), out, 1);
    } else {
        portableEncrypt(WordSchedule(m_encKeys.data()).w, in, out);
    }
}

void Aes256::decryptBlock(const uint8_t* in, uint8_t* out) const {
    if (m_hardware) {
        std::memmove(out, in, blockSize);
        Aes256Ni::decryptBlocks(m_decKeys.data(), out, 1);
    } else {
        portableDecrypt(WordSchedule(m_decKeys.data()).w, in, out);
    }
}

void Aes256::encryptBlocks(uint8_t* data, size_t len) const {
    requireWholeBlocks(len);
    if (m_hardware) {
        Aes256Ni::encryptBlocks(m_encKeys.data(), data, len / blockSize);
        return;
    }
    const WordSchedule ks(m_encKeys.data());
    for (size_t i = 0; i < len; i += blockSize)
        portableEncrypt(ks.w, data + i, data + i);
}

void Aes256::decryptBlocks(uint8_t* data, size_t len) const {
    requireWholeBlocks(len);
    if (m_hardware) {
        Aes256Ni::decryptBlocks(m_decKeys.data(), data, len / blockSize);
        return;
    }
    const WordSchedule ks(m_decKeys.data());
    for (size_t i = 0; i < len; i += blockSize)
        portableDecrypt(ks.w, data + i, data + i);
}

void Aes256::encryptCbc(uint8_t* data, size_t len) const {
    requireWholeBlocks(len);
    if (m_hardware) {
        Aes256Ni::encryptCbc(m_encKeys.data(), data, len / blockSize);
        return;
    }
    const WordSchedule ks(m_encKeys.data());
    const uint8_t* chain = nullptr; // the zero vector before the first block
    for (size_t i = 0; i < len; i += blockSize) {
        if (chain) {
            for (size_t k = 0; k < blockSize; ++k)
                data[i + k] ^= chain[k];
        }
        portableEncrypt(ks.w, data + i, data + i);
        chain = data + i;
    }
}

void Aes256::decryptCbc(uint8_t* data, size_t len) const {
    requireWholeBlocks(len);
    if (m_hardware) {
        Aes256Ni::decryptCbc(m_decKeys.data(), data, len / blockSize);
        return;
    }
    const WordSchedule ks(m_decKeys.data());
    uint8_t chain[blockSize] = {};
    for (size_t i = 0; i < len; i += blockSize) {
        uint8_t cipher[blockSize];
        std::memcpy(cipher, data + i, blockSize);
        portableDecrypt(ks.w, data + i, data + i);
        for (size_t k = 0; k < blockSize; ++k)
            data[i + k] ^= chain[k];
        std::memcpy(chain, cipher, blockSize);
    }
}
