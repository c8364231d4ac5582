#pragma once
// AES with a 256-bit key (14 rounds), written here rather than taken from a
// library. One object holds the expanded encryption and decryption schedules
// and picks, at construction, either the processor's AES instructions or a
// portable table-driven implementation; both give identical results.

#include <array>
#include <cstddef>
#include <cstdint>

class Aes256 {
public:
    static constexpr size_t blockSize = 16;
    static constexpr size_t keySize = 32;
    static constexpr int rounds = 14;

    enum class Implementation {
        Auto,     // the hardware path when the processor has it, else the portable one
        Portable, // always the portable path (tests, benchmarks, comparison)
        Hardware, // the hardware path; the constructor throws std::runtime_error without it
    };

    explicit Aes256(const uint8_t* key, Implementation impl = Implementation::Auto);
    explicit Aes256(const std::array<uint8_t, keySize>& key, Implementation impl = Implementation::Auto)
        : Aes256(key.data(), impl) {}
    ~Aes256();
    Aes256(const Aes256&) = default;
    Aes256& operator=(const Aes256&) = default;

    // True when the processor offers the AES instructions.
    static bool hardwareAvailable();
    // True when this object runs on the hardware path.
    bool usesHardware() const { return m_hardware; }

    // One block; in and out may be the same buffer.
    void encryptBlock(const uint8_t* in, uint8_t* out) const;
    void decryptBlock(const uint8_t* in, uint8_t* out) const;

    // Independent 16-byte blocks (ECB) over a buffer, in place. `len` must be a
    // multiple of 16; anything else throws std::invalid_argument before any byte changes.
    void encryptBlocks(uint8_t* data, size_t len) const;
    void decryptBlocks(uint8_t* data, size_t len) const;

    // One CBC message with an all-zero initialisation vector, in place; `len`
    // must be a multiple of 16 (std::invalid_argument otherwise).
    void encryptCbc(uint8_t* data, size_t len) const;
    void decryptCbc(uint8_t* data, size_t len) const;

    // The round keys (15 × 16 bytes) in the order the cipher uses them; the
    // decryption schedule is the one of the equivalent inverse cipher.
    const uint8_t* encryptionKeys() const { return m_encKeys.data(); }
    const uint8_t* decryptionKeys() const { return m_decKeys.data(); }

private:
    alignas(16) std::array<uint8_t, (rounds + 1) * blockSize> m_encKeys{};
    alignas(16) std::array<uint8_t, (rounds + 1) * blockSize> m_decKeys{};
    bool m_hardware = false;
};
