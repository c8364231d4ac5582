// Pieces made and read on the TLS library's primitives must be the stream
// library's own pieces, byte for byte, read as it reads them, and leave its
// state as its push and pull leave it: files are exchanged with programs that
// use the library alone.
#include "core/StrongPieceCipher.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using State = StrongPieceCipher::State;
constexpr unsigned char kMessage = crypto_secretstream_xchacha20poly1305_TAG_MESSAGE;
constexpr unsigned char kRekey = crypto_secretstream_xchacha20poly1305_TAG_REKEY;
constexpr unsigned char kFinal = crypto_secretstream_xchacha20poly1305_TAG_FINAL;

struct Piece {
    size_t size;
    size_t additional;
    unsigned char tag;
};

TEST(StrongPieceCipher, MakesAndReadsTheLibrarysPieces) {
    ASSERT_TRUE(StrongPieceCipher::matchesLibrary());
    // Sizes on both sides of the 16-byte padding and of the 64-byte key-stream
    // blocks, a full piece, a piece that changes the key, the end mark.
    const std::vector<Piece> stream = {{0, 64, kMessage},    {1, 0, kMessage},   {15, 3, kMessage},
                                       {16, 0, kMessage},    {17, 16, kMessage}, {63, 0, kMessage},
                                       {64, 0, kMessage},    {65, 0, kRekey},    {1000, 0, kMessage},
                                       {65536, 0, kMessage}, {4097, 17, kFinal}};
    std::vector<uint8_t> plain(65536);
    for (size_t i = 0; i < plain.size(); ++i)
        plain[i] = static_cast<uint8_t>(i * 131 + (i >> 8));
    uint8_t key[crypto_secretstream_xchacha20poly1305_KEYBYTES];
    uint8_t header[crypto_secretstream_xchacha20poly1305_HEADERBYTES];
    crypto_secretstream_xchacha20poly1305_keygen(key);
    State library, own, pulling, ownPulling;
    crypto_secretstream_xchacha20poly1305_init_push(&library, header, key);
    crypto_secretstream_xchacha20poly1305_init_pull(&pulling, header, key);
    own = library;
    ownPulling = pulling;

    StrongPieceCipher pieceCipher;
    std::vector<uint8_t> expected(plain.size() + crypto_secretstream_xchacha20poly1305_ABYTES);
    std::vector<uint8_t> got(expected.size()), back(plain.size()), ownBack(plain.size());
    for (const Piece& piece : stream) {
        SCOPED_TRACE(piece.size);
        const size_t out = piece.size + crypto_secretstream_xchacha20poly1305_ABYTES;
        crypto_secretstream_xchacha20poly1305_push(&library, expected.data(), nullptr, plain.data(),
                                                   piece.size, plain.data(), piece.additional, piece.tag);
        pieceCipher.push(own, got.data(), plain.data(), piece.size, plain.data(), piece.additional,
                         piece.tag);
        ASSERT_EQ(0, std::memcmp(expected.data(), got.data(), out));
        ASSERT_EQ(0, std::memcmp(&library, &own, sizeof own));

        unsigned char tag = 0, ownTag = 0;
        size_t size = 0;
        for (const size_t at : {size_t{0}, out / 2, out - 1}) {
            got[at] ^= 0x20;
            State spare = ownPulling;
            EXPECT_FALSE(pieceCipher.pull(spare, ownBack.data(), size, ownTag, got.data(), out, plain.data(),
                                          piece.additional));
            got[at] ^= 0x20;
        }
        ASSERT_EQ(0,
                  crypto_secretstream_xchacha20poly1305_pull(&pulling, back.data(), nullptr, &tag, got.data(),
                                                             out, plain.data(), piece.additional));
        ASSERT_TRUE(pieceCipher.pull(ownPulling, ownBack.data(), size, ownTag, got.data(), out, plain.data(),
                                     piece.additional));
        EXPECT_EQ(piece.tag, tag);
        EXPECT_EQ(piece.tag, ownTag);
        EXPECT_EQ(piece.size, size);
        EXPECT_EQ(0, std::memcmp(back.data(), plain.data(), piece.size));
        EXPECT_EQ(0, std::memcmp(ownBack.data(), plain.data(), piece.size));
        EXPECT_EQ(0, std::memcmp(&pulling, &ownPulling, sizeof own));
    }
}

} // namespace
