#pragma once
// SHA-1 message digest, written here rather than taken from a library; it only
// serves the key derivation of the database cipher.

#include <array>
#include <cstddef>
#include <cstdint>

class Sha1 {
public:
    static constexpr size_t digestSize = 20;
    using Digest = std::array<uint8_t, digestSize>;

    Sha1() { reset(); }
    void reset();
    void update(const void* data, size_t len);
    // Pads, returns the digest and leaves the object reset for a new message.
    Digest final();

    static Digest hash(const void* data, size_t len);

private:
    void compress(const uint8_t* block);

    std::array<uint32_t, 5> m_state{};
    std::array<uint8_t, 64> m_buffer{};
    size_t m_buffered = 0;
    uint64_t m_length = 0; // bytes hashed so far
};
