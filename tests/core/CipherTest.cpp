// The database cipher: key derivation from the password, the random prefix and
// the 16-byte units of the stream, written and read back in pieces.

#include "core/DatabaseCipher.h"
#include "core/Texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

std::string toHex(const uint8_t* data, size_t len) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < len; ++i) {
        out += digits[data[i] >> 4];
        out += digits[data[i] & 15];
    }
    return out;
}

std::string keyHex(std::u16string_view password) {
    const auto key = DatabaseCipher::deriveKey(password);
    return toHex(key.data(), key.size());
}

std::vector<uint8_t> randomStream(size_t len, unsigned seed) {
    std::mt19937 gen(seed);
    std::vector<uint8_t> out(len);
    for (uint8_t& b : out)
        b = uint8_t(gen());
    return out;
}

// A generator in the C runtime's range, reproducible from its seed.
DatabaseCipher::RandomSource randomSource(unsigned seed) {
    auto gen = std::make_shared<std::minstd_rand>(seed);
    return [gen] { return int((*gen)() & 0x7FFF); };
}

// --- Key derivation -------------------------------------------------------

TEST(DatabaseCipherKey, KnownKeys) {
    // Expected keys computed independently with Python's hashlib:
    //   u = p.encode('utf-16-le'); n = len(p in UTF-16 units)
    //   r = the UTF-16 units of u in reverse order
    //   key = sha1(u[:n]).digest() + sha1(r[:n]).digest()[:12]
    EXPECT_EQ(keyHex(u"Zebra7"), "b0f72a522b54fb0f74e66f314589f825519b6bb1d1c4e62e642903fc7dd9dbc6");
    // Odd length: the low byte of the middle character enters D1.
    EXPECT_EQ(keyHex(u"Key12"), "bddb4fdcf8e2cf63cf9d348fe611fcaa1b1413c166a3c50fad394f43585b2864");
    // Characters beyond Latin-1 contribute both bytes.
    EXPECT_EQ(keyHex(u"пароль"), "5642676f3991c113d4a425d42f5139b302027c5f58f2a00be76778ac24aa3e4d");
    // A surrogate pair counts as two characters and is reversed unit by unit.
    EXPECT_EQ(keyHex(u"a\U0001F600b"), "bf3b4ae24ce910683376061858c8fdcb47e7f7bad9c739ba487d504e5188b62c");
}

TEST(DatabaseCipherKey, EmptyPasswordUsesTheDefaultPassword) {
    EXPECT_EQ(keyHex(u""), keyHex(Texts::defaultPassword));
    EXPECT_EQ(keyHex(u""), "77080e119b837e1fb71a074d78a11bde364d16a31cd14cd09e19fffa9b77e368");
    EXPECT_NE(keyHex(u""), keyHex(u"x"));
}

TEST(DatabaseCipherKey, FirstHalfFeedsD1AndLastHalfFeedsD2) {
    // Two characters give n = 2 bytes: only the first character enters D1 and
    // only the last one enters D2. Sharing the first character gives the same
    // first 20 bytes but a different tail.
    const auto a = DatabaseCipher::deriveKey(u"xA");
    const auto b = DatabaseCipher::deriveKey(u"xB");
    EXPECT_EQ(toHex(a.data(), 20), toHex(b.data(), 20));
    EXPECT_NE(toHex(a.data() + 20, 12), toHex(b.data() + 20, 12));
    EXPECT_EQ(toHex(a.data(), a.size()), "062db096c728515e033cf8c48a1c1f0b9a79384bef420abfddbda7b9ee665d85");
    // Sharing the last character instead gives the same tail.
    const auto c = DatabaseCipher::deriveKey(u"yB");
    EXPECT_NE(toHex(b.data(), 20), toHex(c.data(), 20));
    EXPECT_EQ(toHex(b.data() + 20, 12), toHex(c.data() + 20, 12));
}

// --- Enciphering and deciphering -------------------------------------------

class DatabaseCipherStream : public ::testing::TestWithParam<Aes256::Implementation> {
protected:
    void SetUp() override {
        if (GetParam() == Aes256::Implementation::Hardware && !Aes256::hardwareAvailable())
            GTEST_SKIP() << "this processor has no AES instructions; only the portable path is tested";
    }
    DatabaseCipher make(std::u16string_view password = u"Zebra7") const {
        return DatabaseCipher(password, GetParam());
    }
};

TEST_P(DatabaseCipherStream, RoundTripKeepsEveryByteButTheFinalPartialUnit) {
    for (size_t len : {0u, 1u, 15u, 16u, 17u, 31u, 32u, 100u, 4096u, 4101u}) {
        SCOPED_TRACE(len);
        const auto stream = randomStream(len, unsigned(len) + 10);
        DatabaseCipher writer = make();
        const auto file = writer.encipherStream(stream.data(), stream.size(), randomSource(5));
        ASSERT_EQ(file.size(), DatabaseCipher::prefixSize + len);

        const auto plain = make().decipherStream(file.data(), file.size());
        ASSERT_EQ(plain.size(), len);
        const size_t whole = len - len % 16;
        EXPECT_TRUE(std::equal(stream.begin(), stream.begin() + whole, plain.begin()));
        // The final partial unit comes back as it was stored, still enciphered.
        EXPECT_TRUE(std::equal(plain.begin() + whole, plain.end(), file.begin() + 64 + whole));
        if (len % 16 != 0) {
            EXPECT_FALSE(std::equal(plain.begin() + whole, plain.end(), stream.begin() + whole));
        }
    }
}

TEST_P(DatabaseCipherStream, LayoutIsPrefixThenIndependentUnits) {
    const auto stream = randomStream(16 * 5 + 9, 77);
    DatabaseCipher writer = make();
    const auto file = writer.encipherStream(stream.data(), stream.size(), randomSource(42));

    // The prefix is one chained message of bytes rand()*225/32767.
    std::array<uint8_t, 64> prefix;
    std::copy(file.begin(), file.begin() + 64, prefix.begin());
    make().decipherPrefix(prefix.data());
    const auto expectedRandom = randomSource(42);
    for (size_t i = 0; i < 64; ++i)
        ASSERT_EQ(prefix[i], uint8_t(expectedRandom() * 225 / 32767)) << "prefix byte " << i;
    auto chained = prefix;
    const Aes256 aes(DatabaseCipher::deriveKey(u"Zebra7"), Aes256::Implementation::Portable);
    aes.encryptCbc(chained.data(), chained.size());
    EXPECT_TRUE(std::equal(chained.begin(), chained.end(), file.begin()));
    auto asEcb = prefix;
    aes.encryptBlocks(asEcb.data(), asEcb.size());
    EXPECT_FALSE(std::equal(asEcb.begin() + 16, asEcb.end(), file.begin() + 16)) << "prefix must be chained";

    // Each full unit is plain AES-256 of that unit.
    for (size_t u = 0; u < 5; ++u) {
        uint8_t block[16];
        aes.encryptBlock(stream.data() + 16 * u, block);
        EXPECT_EQ(toHex(block, 16), toHex(file.data() + 64 + 16 * u, 16)) << "unit " << u;
    }
    // The final 9 bytes: a block of those bytes completed by the previous
    // unit's plaintext, cut to 9 bytes.
    uint8_t tail[16];
    std::memcpy(tail, stream.data() + 64, 16);
    std::memcpy(tail, stream.data() + 80, 9);
    aes.encryptBlock(tail, tail);
    EXPECT_EQ(toHex(tail, 9), toHex(file.data() + 64 + 80, 9));
}

TEST_P(DatabaseCipherStream, TwoSavesDifferOnlyInPrefix) {
    const auto stream = randomStream(16 * 40 + 3, 8);
    DatabaseCipher first = make(), second = make();
    const auto a = first.encipherStream(stream.data(), stream.size(), randomSource(1));
    const auto b = second.encipherStream(stream.data(), stream.size(), randomSource(2));
    ASSERT_EQ(a.size(), b.size());
    EXPECT_FALSE(std::equal(a.begin(), a.begin() + 64, b.begin()));
    EXPECT_TRUE(std::equal(a.begin() + 64, a.end(), b.begin() + 64));

    // A change in one unit changes that unit only.
    auto changed = stream;
    changed[16 * 7 + 3] ^= 1;
    DatabaseCipher third = make();
    const auto c = third.encipherStream(changed.data(), changed.size(), randomSource(1));
    for (size_t u = 0; u < 40; ++u) {
        const bool same =
            std::equal(a.begin() + 64 + 16 * u, a.begin() + 80 + 16 * u, c.begin() + 64 + 16 * u);
        EXPECT_EQ(same, u != 7) << "unit " << u;
    }
}

TEST_P(DatabaseCipherStream, PiecesGiveTheSameBytesAsOneBuffer) {
    const auto stream = randomStream(16 * 300 + 11, 9);
    DatabaseCipher whole = make();
    const auto expected = whole.encipherStream(stream.data(), stream.size(), randomSource(3));

    // Enciphering: pieces of whole units, then the partial unit alone, which
    // must still be completed from the plaintext of the piece before.
    DatabaseCipher pieces = make();
    auto buffer = stream;
    size_t at = 0;
    for (size_t piece : {16u, 160u, 0u, 4096u, 32u, 496u}) {
        pieces.encipher(buffer.data() + at, piece);
        at += piece;
    }
    ASSERT_EQ(buffer.size() - at, 11u);
    pieces.encipher(buffer.data() + at, buffer.size() - at);
    EXPECT_TRUE(std::equal(buffer.begin(), buffer.end(), expected.begin() + 64));
    EXPECT_THROW(pieces.encipher(buffer.data(), 16), std::logic_error);

    // Deciphering as the loader does while reading a file in blocks.
    const DatabaseCipher reader = make();
    for (at = 0; at < buffer.size(); at += 1024)
        reader.decipher(buffer.data() + at, std::min<size_t>(1024, buffer.size() - at));
    EXPECT_TRUE(std::equal(stream.begin(), stream.end() - 11, buffer.begin()));
}

TEST_P(DatabaseCipherStream, WrongPasswordGivesOtherPlaintext) {
    const auto stream = randomStream(64, 11);
    DatabaseCipher writer = make(u"right");
    const auto file = writer.encipherStream(stream.data(), stream.size(), randomSource(4));
    EXPECT_NE(make(u"wrong").decipherStream(file.data(), file.size()), stream);
    EXPECT_EQ(make(u"right").decipherStream(file.data(), file.size()), stream);
}

TEST_P(DatabaseCipherStream, ShortFilesAndOddGenerators) {
    // Fewer bytes than the prefix: nothing to decipher, no read past the end.
    const std::vector<uint8_t> shortFile(40, 0xAB);
    EXPECT_TRUE(make().decipherStream(shortFile.data(), shortFile.size()).empty());
    // Exactly the prefix: an empty stream.
    const std::vector<uint8_t> prefixOnly(64, 0xAB);
    EXPECT_TRUE(make().decipherStream(prefixOnly.data(), prefixOnly.size()).empty());

    // A generator outside 0..32767 still yields prefix bytes 0..225.
    int calls = 0;
    const auto prefix = make().makePrefix([&calls] { return ++calls % 2 ? -5 : 99999; });
    auto plain = prefix;
    make().decipherPrefix(plain.data());
    for (size_t i = 0; i < plain.size(); ++i)
        EXPECT_EQ(plain[i], i % 2 ? 225 : 0) << "prefix byte " << i;
    EXPECT_EQ(calls, 64);
}

TEST(DatabaseCipherPaths, HardwareAndPortableWriteTheSameFile) {
    if (!Aes256::hardwareAvailable())
        GTEST_SKIP() << "this processor has no AES instructions; nothing to compare";
    const auto stream = randomStream(16 * 1000 + 5, 12);
    DatabaseCipher hw(u"Zebra7", Aes256::Implementation::Hardware);
    DatabaseCipher sw(u"Zebra7", Aes256::Implementation::Portable);
    const auto a = hw.encipherStream(stream.data(), stream.size(), randomSource(6));
    const auto b = sw.encipherStream(stream.data(), stream.size(), randomSource(6));
    EXPECT_EQ(a, b);
    EXPECT_EQ(sw.decipherStream(a.data(), a.size()), hw.decipherStream(b.data(), b.size()));
}

INSTANTIATE_TEST_SUITE_P(Paths, DatabaseCipherStream,
                         ::testing::Values(Aes256::Implementation::Portable,
                                           Aes256::Implementation::Hardware),
                         [](const auto& info) {
                             return info.param == Aes256::Implementation::Portable ? "Portable" : "Hardware";
                         });

} // namespace
