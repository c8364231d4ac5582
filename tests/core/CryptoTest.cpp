// AES-256 and SHA-1 against published test vectors, and the hardware and
// portable AES paths against each other.

#include "core/Aes256.h"
#include "core/Sha1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> hex(const std::string& text) {
    std::vector<uint8_t> out;
    for (size_t i = 0; i + 1 < text.size(); i += 2)
        out.push_back(uint8_t(std::stoi(text.substr(i, 2), nullptr, 16)));
    return out;
}

std::string toHex(const uint8_t* data, size_t len) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < len; ++i) {
        out += digits[data[i] >> 4];
        out += digits[data[i] & 15];
    }
    return out;
}

std::vector<uint8_t> randomBytes(size_t len, unsigned seed) {
    std::mt19937 gen(seed);
    std::vector<uint8_t> out(len);
    for (uint8_t& b : out)
        b = uint8_t(gen());
    return out;
}

// --- AES-256 -------------------------------------------------------------

class Aes256Test : public ::testing::TestWithParam<Aes256::Implementation> {
protected:
    void SetUp() override {
        if (GetParam() == Aes256::Implementation::Hardware && !Aes256::hardwareAvailable())
            GTEST_SKIP() << "this processor has no AES instructions; only the portable path is tested";
    }
    Aes256 make(const std::vector<uint8_t>& key) const { return Aes256(key.data(), GetParam()); }
};

// The four-block key and message of the ECB-AES256 and CBC-AES256 examples.
const char* kSp800Key = "603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4";
const char* kSp800Plain = "6bc1bee22e409f96e93d7e117393172aae2d8a571e03ac9c9eb76fac45af8e51"
                          "30c81c46a35ce411e5fbc1191a0a52eff69f2445df4f9b17ad2b417be66c3710";
const char* kSp800EcbCipher = "f3eed1bdb5d2a03c064b5a7e3db181f8591ccb10d410ed26dc5ba74a31362870"
                              "b6ed21b99ca6f4f9f153e7b1beafed1d23304b7a39f9f3ff067d8d8f9e24ecc7";
const char* kSp800CbcIv = "000102030405060708090a0b0c0d0e0f";
const char* kSp800CbcCipher = "f58c4c04d6e5f1ba779eabfb5f7bfbd69cfc4e967edb808d679f777bc6702c7d"
                              "39f23369a9d9bacfa530e26304231461b2eb05e2c39be9fcda6c19078c6a9d1b";

TEST_P(Aes256Test, SingleBlockKnownAnswer) {
    // The AES-256 example of the standard's appendix, both directions, and in place.
    const Aes256 aes = make(hex("000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f"));
    EXPECT_EQ(aes.usesHardware(), GetParam() == Aes256::Implementation::Hardware);
    const auto plain = hex("00112233445566778899aabbccddeeff");
    uint8_t out[16];
    aes.encryptBlock(plain.data(), out);
    EXPECT_EQ(toHex(out, 16), "8ea2b7ca516745bfeafc49904b496089");
    aes.decryptBlock(out, out);
    EXPECT_EQ(toHex(out, 16), toHex(plain.data(), 16));
}

TEST_P(Aes256Test, EcbKnownAnswerBothDirections) {
    const Aes256 aes = make(hex(kSp800Key));
    auto data = hex(kSp800Plain);
    aes.encryptBlocks(data.data(), data.size());
    EXPECT_EQ(toHex(data.data(), data.size()), kSp800EcbCipher);
    aes.decryptBlocks(data.data(), data.size());
    EXPECT_EQ(toHex(data.data(), data.size()), kSp800Plain);

    // Block by block gives the same as the buffer call.
    auto single = hex(kSp800Plain);
    for (size_t i = 0; i < single.size(); i += 16)
        aes.encryptBlock(single.data() + i, single.data() + i);
    EXPECT_EQ(toHex(single.data(), single.size()), kSp800EcbCipher);
}

TEST_P(Aes256Test, CbcWithZeroVectorMatchesPublishedChain) {
    // The published CBC example uses a non-zero vector; folding it into the
    // first plaintext block gives the same chain from a zero vector.
    const Aes256 aes = make(hex(kSp800Key));
    auto data = hex(kSp800Plain);
    const auto iv = hex(kSp800CbcIv);
    for (size_t i = 0; i < 16; ++i)
        data[i] ^= iv[i];
    aes.encryptCbc(data.data(), data.size());
    EXPECT_EQ(toHex(data.data(), data.size()), kSp800CbcCipher);
    aes.decryptCbc(data.data(), data.size());
    for (size_t i = 0; i < 16; ++i)
        data[i] ^= iv[i];
    EXPECT_EQ(toHex(data.data(), data.size()), kSp800Plain);
}

TEST_P(Aes256Test, PartialBlocksAreRefusedUntouched) {
    const Aes256 aes = make(hex(kSp800Key));
    auto data = hex(kSp800Plain);
    const auto before = data;
    EXPECT_THROW(aes.encryptBlocks(data.data(), 17), std::invalid_argument);
    EXPECT_THROW(aes.decryptBlocks(data.data(), 15), std::invalid_argument);
    EXPECT_THROW(aes.encryptCbc(data.data(), 33), std::invalid_argument);
    EXPECT_THROW(aes.decryptCbc(data.data(), 63), std::invalid_argument);
    EXPECT_EQ(data, before);
    aes.encryptBlocks(data.data(), 0); // nothing to do is not an error
    EXPECT_EQ(data, before);
}

INSTANTIATE_TEST_SUITE_P(Paths, Aes256Test,
                         ::testing::Values(Aes256::Implementation::Portable,
                                           Aes256::Implementation::Hardware),
                         [](const auto& info) {
                             return info.param == Aes256::Implementation::Portable ? "Portable" : "Hardware";
                         });

TEST(Aes256Paths, HardwareAndPortableAgreeOnManyBlocks) {
    if (!Aes256::hardwareAvailable())
        GTEST_SKIP() << "this processor has no AES instructions; nothing to compare";
    // Block counts around the eight-block pipeline of the hardware path.
    const auto key = randomBytes(32, 1);
    const Aes256 hw(key.data(), Aes256::Implementation::Hardware);
    const Aes256 sw(key.data(), Aes256::Implementation::Portable);
    for (size_t blocks : {1u, 7u, 8u, 9u, 15u, 16u, 17u, 1000u, 4099u}) {
        SCOPED_TRACE(blocks);
        const auto plain = randomBytes(blocks * 16, unsigned(blocks));
        auto a = plain, b = plain;
        hw.encryptBlocks(a.data(), a.size());
        sw.encryptBlocks(b.data(), b.size());
        ASSERT_EQ(a, b);
        ASSERT_NE(a, plain);
        hw.decryptBlocks(a.data(), a.size());
        sw.decryptBlocks(b.data(), b.size());
        ASSERT_EQ(a, plain);
        ASSERT_EQ(b, plain);

        auto c = plain, d = plain;
        hw.encryptCbc(c.data(), c.size());
        sw.encryptCbc(d.data(), d.size());
        ASSERT_EQ(c, d);
        sw.decryptCbc(c.data(), c.size());
        ASSERT_EQ(c, plain);
    }
}

TEST(Aes256Paths, AutoPrefersHardwareAndSchedulesAgree) {
    const auto key = randomBytes(32, 2);
    const Aes256 automatic(key.data());
    EXPECT_EQ(automatic.usesHardware(), Aes256::hardwareAvailable());
    const Aes256 sw(key.data(), Aes256::Implementation::Portable);
    EXPECT_FALSE(sw.usesHardware());
    EXPECT_EQ(std::memcmp(automatic.encryptionKeys(), sw.encryptionKeys(), 240), 0);
    // The last encryption round key of the standard's AES-256 key expansion example.
    const Aes256 fips(hex("603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4").data(),
                      Aes256::Implementation::Portable);
    EXPECT_EQ(toHex(fips.encryptionKeys() + 224, 16), "fe4890d1e6188d0b046df344706c631e");
    // The decryption schedule starts with the last encryption key and ends with the first.
    EXPECT_EQ(std::memcmp(fips.decryptionKeys(), fips.encryptionKeys() + 224, 16), 0);
    EXPECT_EQ(std::memcmp(fips.decryptionKeys() + 224, fips.encryptionKeys(), 16), 0);
}

TEST(Aes256Paths, ForcedHardwareWithoutInstructionsIsRefused) {
    if (Aes256::hardwareAvailable())
        GTEST_SKIP() << "this processor has AES instructions; the refusal cannot be observed";
    const auto key = randomBytes(32, 3);
    EXPECT_THROW(Aes256(key.data(), Aes256::Implementation::Hardware), std::runtime_error);
}

// --- SHA-1 ---------------------------------------------------------------

std::string sha1Hex(const std::string& text) {
    const auto d = Sha1::hash(text.data(), text.size());
    return toHex(d.data(), d.size());
}

TEST(Sha1, PublishedMessages) {
    EXPECT_EQ(sha1Hex(""), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
    EXPECT_EQ(sha1Hex("abc"), "a9993e364706816aba3e25717850c26c9cd0d89d");
    EXPECT_EQ(sha1Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "84983e441c3bd26ebaae4aa1f95129e5e54670f1");
}

TEST(Sha1, PaddingAroundBlockBoundaries) {
    // Lengths where the length field just fits, just does not fit, and spills
    // into a second padding block. Expected digests computed with Python's
    // hashlib.sha1 over bytes(range(n)).
    const std::pair<size_t, const char*> cases[] = {
        {55, "8ae2d46729cfe68ff927af5eec9c7d1b66d65ac2"},  {56, "636e2ec698dac903498e648bd2f3af641d3c88cb"},
        {63, "6d942da0c4392b123528f2905c713a3ce28364bd"},  {64, "c6138d514ffa2135bfce0ed0b8fac65669917ec7"},
        {65, "69bd728ad6e13cd76ff19751fde427b00e395746"},  {119, "41c89d06001bab4ab78736b44efe7ce18ce6ae08"},
        {120, "d3dbd653bd8597b7475321b60a36891278e6a04a"},
    };
    for (const auto& [n, expected] : cases) {
        std::vector<uint8_t> data(n);
        for (size_t i = 0; i < n; ++i)
            data[i] = uint8_t(i);
        const auto d = Sha1::hash(data.data(), data.size());
        EXPECT_EQ(toHex(d.data(), d.size()), expected) << "length " << n;
    }
}

TEST(Sha1, IncrementalPiecesGiveTheSameDigest) {
    // A million 'a' fed in uneven pieces that straddle the 64-byte blocks.
    Sha1 sha;
    const std::string piece(997, 'a');
    size_t fed = 0;
    for (size_t step = 1; fed < 1000000; step = step % 131 + 7) {
        const size_t n = std::min({step, piece.size(), size_t(1000000) - fed});
        sha.update(piece.data(), n);
        fed += n;
    }
    const auto d = sha.final();
    EXPECT_EQ(toHex(d.data(), d.size()), "34aa973cd4c4daa4f61eeb2bdbad27316534016f");

    // final() leaves the object ready for a new message.
    sha.update("ab", 2);
    sha.update("c", 1);
    const auto again = sha.final();
    EXPECT_EQ(toHex(again.data(), again.size()), "a9993e364706816aba3e25717850c26c9cd0d89d");
}

TEST(Sha1, HardwareAndPortableAgree) {
    if (!Sha1::hardwareAvailable())
        GTEST_SKIP() << "no SHA instructions on this processor";
    std::mt19937 random(11);
    std::vector<uint8_t> data(70000);
    for (auto& b : data)
        b = static_cast<uint8_t>(random());
    for (size_t n :
         {size_t(0), size_t(1), size_t(63), size_t(64), size_t(65), size_t(128), size_t(1000), data.size()}) {
        Sha1 hw;
        Sha1 sw(Sha1::Implementation::Portable);
        // Uneven pieces, so that whole runs of blocks and the buffer both take part.
        for (size_t at = 0, step = 1; at < n; at += step, step = step * 3 % 4099 + 1) {
            hw.update(data.data() + at, std::min(step, n - at));
            sw.update(data.data() + at, std::min(step, n - at));
        }
        EXPECT_EQ(hw.final(), sw.final()) << "length " << n;
    }
}

} // namespace
