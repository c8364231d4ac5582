#include "core/Aes256Ni.h"

// This file is compiled with the AES and SSE4.1 instruction sets enabled. It
// must not instantiate library templates or inline functions shared with other
// files: the linker may keep this copy of them, which would then also run on
// processors without those instructions.

#include <immintrin.h>
#include <wmmintrin.h>

namespace {

constexpr int kRounds = 14;

struct Schedule {
    __m128i k[kRounds + 1];
    explicit Schedule(const uint8_t* keys) {
        for (int r = 0; r <= kRounds; ++r)
            k[r] = _mm_load_si128(reinterpret_cast<const __m128i*>(keys + 16 * r));
    }
};

inline __m128i load(const uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline void store(uint8_t* p, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

inline __m128i encryptOne(const Schedule& s, __m128i b) {
    b = _mm_xor_si128(b, s.k[0]);
    for (int r = 1; r < kRounds; ++r)
        b = _mm_aesenc_si128(b, s.k[r]);
    return _mm_aesenclast_si128(b, s.k[kRounds]);
}

inline __m128i decryptOne(const Schedule& s, __m128i b) {
    b = _mm_xor_si128(b, s.k[0]);
    for (int r = 1; r < kRounds; ++r)
        b = _mm_aesdec_si128(b, s.k[r]);
    return _mm_aesdeclast_si128(b, s.k[kRounds]);
}

// Eight independent blocks at a time keep the AES unit's pipeline full; the
// latency of one round is several cycles while a new one can start every cycle.
template <bool Encrypt> void eightBlocks(const Schedule& s, uint8_t* data) {
    __m128i b[8];
    for (int i = 0; i < 8; ++i)
        b[i] = _mm_xor_si128(load(data + 16 * i), s.k[0]);
    for (int r = 1; r < kRounds; ++r) {
        const __m128i k = s.k[r];
        for (int i = 0; i < 8; ++i)
            b[i] = Encrypt ? _mm_aesenc_si128(b[i], k) : _mm_aesdec_si128(b[i], k);
    }
    const __m128i k = s.k[kRounds];
    for (int i = 0; i < 8; ++i)
        store(data + 16 * i, Encrypt ? _mm_aesenclast_si128(b[i], k) : _mm_aesdeclast_si128(b[i], k));
}

} // namespace

namespace Aes256Ni {

void encryptBlocks(const uint8_t* keys, uint8_t* data, size_t blocks) {
    const Schedule s(keys);
    for (; blocks >= 8; blocks -= 8, data += 128)
        eightBlocks<true>(s, data);
    for (; blocks > 0; --blocks, data += 16)
        store(data, encryptOne(s, load(data)));
}

void decryptBlocks(const uint8_t* keys, uint8_t* data, size_t blocks) {
    const Schedule s(keys);
    for (; blocks >= 8; blocks -= 8, data += 128)
        eightBlocks<false>(s, data);
    for (; blocks > 0; --blocks, data += 16)
        store(data, decryptOne(s, load(data)));
}

void encryptCbc(const uint8_t* keys, uint8_t* data, size_t blocks) {
    const Schedule s(keys);
    __m128i chain = _mm_setzero_si128();
    for (; blocks > 0; --blocks, data += 16) {
        chain = encryptOne(s, _mm_xor_si128(load(data), chain));
        store(data, chain);
    }
}

void decryptCbc(const uint8_t* keys, uint8_t* data, size_t blocks) {
    const Schedule s(keys);
    __m128i chain = _mm_setzero_si128();
    for (; blocks > 0; --blocks, data += 16) {
        const __m128i cipher = load(data);
        store(data, _mm_xor_si128(decryptOne(s, cipher), chain));
        chain = cipher;
    }
}

} // namespace Aes256Ni
