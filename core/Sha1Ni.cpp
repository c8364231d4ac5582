#include "core/Sha1Ni.h"

// This file is compiled with the SHA, SSSE3 and SSE4.1 instruction sets
// enabled. It must not instantiate library templates or inline functions
// shared with other files: the linker may keep this copy of them, which would
// then also run on processors without those instructions.

#include <immintrin.h>

namespace {

// Four rounds of the function of rounds 20 * f on.
__m128i fourRounds(__m128i abcd, __m128i e, int f) {
    switch (f) {
    case 0:
        return _mm_sha1rnds4_epu32(abcd, e, 0);
    case 1:
        return _mm_sha1rnds4_epu32(abcd, e, 1);
    case 2:
        return _mm_sha1rnds4_epu32(abcd, e, 2);
    default:
        return _mm_sha1rnds4_epu32(abcd, e, 3);
    }
}

__m128i loadWords(const uint8_t* data) {
    // The words of a block are big-endian.
    const __m128i byteOrder = _mm_set_epi64x(0x0001020304050607LL, 0x08090a0b0c0d0e0fLL);
    return _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data)), byteOrder);
}

} // namespace

void Sha1Ni::compressBlocks(uint32_t state[5], const uint8_t* data, size_t blocks) {
    // The state is held as ABCD (A in the highest lane) and E (highest lane).
    __m128i abcd = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state)), 0x1B);
    __m128i e0 = _mm_set_epi32(static_cast<int>(state[4]), 0, 0, 0);
    for (; blocks > 0; --blocks, data += 64) {
        const __m128i abcdSaved = abcd;
        const __m128i eSaved = e0;
        __m128i e1 = _mm_setzero_si128();
        __m128i m[4];
        // Twenty groups of four rounds. Group g uses message vector g % 4
        // and extends the others for the groups after it.
        for (int g = 0; g < 20; ++g) {
            __m128i& cur = m[g % 4];
            if (g < 4)
                cur = loadWords(data + 16 * g);
            __m128i& eIn = g % 2 == 0 ? e0 : e1;
            __m128i& eOut = g % 2 == 0 ? e1 : e0;
            eIn = g == 0 ? _mm_add_epi32(eIn, cur) : _mm_sha1nexte_epu32(eIn, cur);
            eOut = abcd;
            abcd = fourRounds(abcd, eIn, g / 5);
            if (g >= 3 && g <= 18)
                m[(g + 1) % 4] = _mm_sha1msg2_epu32(m[(g + 1) % 4], cur);
            if (g >= 2 && g <= 17)
                m[(g + 2) % 4] = _mm_xor_si128(m[(g + 2) % 4], cur);
            if (g >= 1 && g <= 16)
                m[(g + 3) % 4] = _mm_sha1msg1_epu32(m[(g + 3) % 4], cur);
        }
        e0 = _mm_sha1nexte_epu32(e0, eSaved);
        abcd = _mm_add_epi32(abcd, abcdSaved);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_shuffle_epi32(abcd, 0x1B));
    state[4] = static_cast<uint32_t>(_mm_extract_epi32(e0, 3));
}
