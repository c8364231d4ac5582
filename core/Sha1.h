#pragma once
// SHA-1 message digest, written here rather than taken from a library; it
// serves the key derivation of the database cipher and the digest of a whole
// file that tells whether another program wrote it. Where the processor has
// the SHA instructions they do the compression.

#include <array>
#include <cstddef>
#include <cstdint>

class Sha1 {
public:
    static constexpr size_t digestSize = 20;
    using Digest = std::array<uint8_t, digestSize>;

    enum class Implementation {
        Auto,    // the SHA instructions where the processor has them
        Portable // plain C++ everywhere (for comparing the two)
    };

    explicit Sha1(Implementation impl = Implementation::Auto);
    void reset();
    void update(const void* data, size_t len);
    // Pads, returns the digest and leaves the object reset for a new message.
    Digest final();

    static Digest hash(const void* data, size_t len);
    static bool hardwareAvailable();

private:
    void compress(const uint8_t* data, size_t blocks);
    void compressPortable(const uint8_t* block);

    bool m_hardware = false;
    std::array<uint32_t, 5> m_state{};
    std::array<uint8_t, 64> m_buffer{};
    size_t m_buffered = 0;
    uint64_t m_length = 0; // bytes hashed so far
};
