#include "core/Sha1Ni.h"

// This file is compiled with the SHA, SSSE3 and SSE4.1 instruction sets
// enabled. It must not instantiate library templates or inline functions
// shared with other files: the linker may keep this copy of them, which would
// then also run on processors without those instructions.

#include <immintrin.h>

namespace {

__m128i loadWords(const uint8_t* data) {
    // The words of a block are big-endian.
    const __m128i byteOrder = _mm_set_epi64x(0x0001020304050607LL, 0x08090a0b0c0d0e0fLL);
    return _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data)), byteOrder);
}

struct Rounds {
    __m128i abcd;
    __m128i e0;
    __m128i e1;
    __m128i m[4];
};

// Four rounds, group G of twenty: it uses message vector G % 4 and extends
// the others for the groups after it; the two E registers take turns. Every
// index is known when compiled, so all of it stays in registers.
template <int G> __attribute__((always_inline)) inline void fourRounds(Rounds& r, const uint8_t* data) {
    __m128i& cur = r.m[G % 4];
    if constexpr (G < 4)
        cur = loadWords(data + 16 * G);
    __m128i& eIn = G % 2 == 0 ? r.e0 : r.e1;
    __m128i& eOut = G % 2 == 0 ? r.e1 : r.e0;
    if constexpr (G == 0)
        eIn = _mm_add_epi32(eIn, cur);
    else
        eIn = _mm_sha1nexte_epu32(eIn, cur);
    eOut = r.abcd;
    r.abcd = _mm_sha1rnds4_epu32(r.abcd, eIn, G / 5);
    if constexpr (G >= 3 && G <= 18)
        r.m[(G + 1) % 4] = _mm_sha1msg2_epu32(r.m[(G + 1) % 4], cur);
    if constexpr (G >= 2 && G <= 17)
        r.m[(G + 2) % 4] = _mm_xor_si128(r.m[(G + 2) % 4], cur);
    if constexpr (G >= 1 && G <= 16)
        r.m[(G + 3) % 4] = _mm_sha1msg1_epu32(r.m[(G + 3) % 4], cur);
    if constexpr (G < 19)
        fourRounds<G + 1>(r, data);
}

} // namespace

void Sha1Ni::compressBlocks(uint32_t state[5], const uint8_t* data, size_t blocks) {
    // The state is held as ABCD (A in the highest lane) and E (highest lane).
    __m128i abcd = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state)), 0x1B);
    __m128i e0 = _mm_set_epi32(static_cast<int>(state[4]), 0, 0, 0);
    for (; blocks > 0; --blocks, data += 64) {
        Rounds r{abcd, e0, _mm_setzero_si128(), {}};
        fourRounds<0>(r, data);
        e0 = _mm_sha1nexte_epu32(r.e0, e0);
        abcd = _mm_add_epi32(r.abcd, abcd);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_shuffle_epi32(abcd, 0x1B));
    state[4] = static_cast<uint32_t>(_mm_extract_epi32(e0, 3));
}
