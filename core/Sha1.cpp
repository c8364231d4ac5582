#include "core/Sha1.h"

#include "core/Sha1Ni.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace {

uint32_t rotl(uint32_t x, int n) {
    return (x << n) | (x >> (32 - n));
}

} // namespace

Sha1::Sha1(Implementation impl) : m_hardware(impl == Implementation::Auto && hardwareAvailable()) {
    reset();
}

bool Sha1::hardwareAvailable() {
#if defined(__x86_64__) || defined(__i386__)
    // Asked of the processor itself: not every compiler's built-in knows the SHA flag.
    static const bool available = [] {
        unsigned a = 0, b = 0, c = 0, d = 0;
        if (!__get_cpuid(1, &a, &b, &c, &d))
            return false;
        const bool ssse3 = c & (1u << 9);
        const bool sse41 = c & (1u << 19);
        if (!__get_cpuid_count(7, 0, &a, &b, &c, &d))
            return false;
        return ssse3 && sse41 && (b & (1u << 29)) != 0;
    }();
    return available;
#else
    return false;
#endif
}

void Sha1::compress(const uint8_t* data, size_t blocks) {
#if defined(__x86_64__) || defined(__i386__)
    if (m_hardware) {
        Sha1Ni::compressBlocks(m_state.data(), data, blocks);
        return;
    }
#endif
    for (; blocks > 0; --blocks, data += 64)
        compressPortable(data);
}

void Sha1::reset() {
    m_state = {0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u, 0xC3D2E1F0u};
    m_buffered = 0;
    m_length = 0;
}

void Sha1::compressPortable(const uint8_t* block) {
    uint32_t w[80];
    for (int i = 0; i < 16; ++i) {
        w[i] = (uint32_t(block[4 * i]) << 24) | (uint32_t(block[4 * i + 1]) << 16) |
               (uint32_t(block[4 * i + 2]) << 8) | uint32_t(block[4 * i + 3]);
    }
    for (int i = 16; i < 80; ++i)
        w[i] = rotl(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);

    uint32_t a = m_state[0], b = m_state[1], c = m_state[2], d = m_state[3], e = m_state[4];
    for (int i = 0; i < 80; ++i) {
        uint32_t f, k;
        if (i < 20) {
            f = (b & c) | (~b & d);
            k = 0x5A827999u;
        } else if (i < 40) {
            f = b ^ c ^ d;
            k = 0x6ED9EBA1u;
        } else if (i < 60) {
            f = (b & c) | (b & d) | (c & d);
            k = 0x8F1BBCDCu;
        } else {
            f = b ^ c ^ d;
            k = 0xCA62C1D6u;
        }
        const uint32_t t = rotl(a, 5) + f + e + k + w[i];
        e = d;
        d = c;
        c = rotl(b, 30);
        b = a;
        a = t;
    }
    m_state[0] += a;
    m_state[1] += b;
    m_state[2] += c;
    m_state[3] += d;
    m_state[4] += e;
}

void Sha1::update(const void* data, size_t len) {
    auto* p = static_cast<const uint8_t*>(data);
    m_length += len;
    if (m_buffered > 0) {
        const size_t take = std::min(len, m_buffer.size() - m_buffered);
        std::memcpy(m_buffer.data() + m_buffered, p, take);
        m_buffered += take;
        p += take;
        len -= take;
        if (m_buffered < m_buffer.size())
            return;
        compress(m_buffer.data(), 1);
        m_buffered = 0;
    }
    compress(p, len / 64);
    p += len / 64 * 64;
    len %= 64;
    if (len > 0) {
        std::memcpy(m_buffer.data(), p, len);
        m_buffered = len;
    }
}

Sha1::Digest Sha1::final() {
    const uint64_t bits = m_length * 8;
    // A single 1 bit, zeros up to 56 bytes mod 64, then the bit length big-endian.
    static const uint8_t pad[64] = {0x80};
    update(pad, m_buffered < 56 ? 56 - m_buffered : 120 - m_buffered);
    uint8_t lenBytes[8];
    for (int i = 0; i < 8; ++i)
        lenBytes[i] = uint8_t(bits >> (56 - 8 * i));
    update(lenBytes, 8);

    Digest out;
    for (int i = 0; i < 5; ++i) {
        out[4 * i] = uint8_t(m_state[i] >> 24);
        out[4 * i + 1] = uint8_t(m_state[i] >> 16);
        out[4 * i + 2] = uint8_t(m_state[i] >> 8);
        out[4 * i + 3] = uint8_t(m_state[i]);
    }
    reset();
    return out;
}

Sha1::Digest Sha1::hash(const void* data, size_t len) {
    Sha1 sha;
    sha.update(data, len);
    return sha.final();
}
