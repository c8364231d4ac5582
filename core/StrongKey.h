#pragma once
// The key of a strongly protected file: Argon2id over the password's UTF-8
// bytes with a random salt and cost parameters that the file stores. Deriving
// takes about a second with the default costs, so a key is kept for the
// session and reused while password and costs stay the same. The key and
// everything derived from the password are wiped when the object goes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

class StrongKey {
public:
    static constexpr size_t keySize = 32;
    static constexpr size_t saltSize = 16;
    using Salt = std::array<uint8_t, saltSize>;

    struct Costs {
        uint64_t opsLimit = 0; // passes over the memory
        uint64_t memLimit = 0; // bytes
        bool operator==(const Costs&) const = default;
    };
    // What new strong files are written with (about 1 s and 256 MiB).
    static Costs defaultCosts();
    // The cheapest the algorithm allows; for tests and fuzzing only.
    static Costs smallestCosts();
    // Whether a file's costs are ones this program derives a key with: within
    // the algorithm's limits and at most kMaxMemLimit / kMaxOpsLimit, so that
    // a damaged or hostile header cannot make it allocate without bound.
    static bool acceptable(const Costs& costs);
    static constexpr uint64_t kMaxMemLimit = uint64_t{4} << 30;
    static constexpr uint64_t kMaxOpsLimit = 32;

    // Derives the key (slow). Throws std::bad_alloc when the memory the costs
    // ask for cannot be had, std::invalid_argument for costs not acceptable.
    StrongKey(std::u16string_view password, const Costs& costs, const Salt& salt);
    // The same with a new random salt.
    StrongKey(std::u16string_view password, const Costs& costs);
    ~StrongKey();
    StrongKey(const StrongKey&) = delete;
    StrongKey& operator=(const StrongKey&) = delete;

    // True when this key is the one `password` gives with these costs and salt.
    bool fits(std::u16string_view password, const Costs& costs, const Salt& salt) const;
    // The same for any salt: the key may be reused for a new file.
    bool fits(std::u16string_view password, const Costs& costs) const;

    const uint8_t* bytes() const { return m_key.data(); }
    const Costs& costs() const { return m_costs; }
    const Salt& salt() const { return m_salt; }

    // Random bytes from the system's generator.
    static void randomBytes(uint8_t* out, size_t size);

private:
    using Digest = std::array<uint8_t, 32>;
    Digest passwordDigest(std::u16string_view password) const;

    Costs m_costs;
    Salt m_salt{};
    std::array<uint8_t, keySize> m_key{};
    Digest m_passwordDigest{};
};
