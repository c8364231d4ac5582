// The field layer of the database stream: numbers, both string forms with
// every length form, time stamps, and data that ends early or lies about its size.
#include "StreamTestSupport.h"

#include "core/ByteSource.h"
#include "core/StreamReader.h"
#include "core/StreamWriter.h"
#include "core/Texts.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace streamtest;

namespace {

std::vector<uint8_t> written(const std::u16string& s) {
    StreamWriter w;
    w.writeString(s);
    return w.bytes();
}

std::vector<uint8_t> prefixOf(const std::vector<uint8_t>& bytes, size_t n) {
    return std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(n));
}

std::u16string readBack(const std::vector<uint8_t>& bytes) {
    StreamReader r(bytes);
    std::u16string s = r.readString();
    EXPECT_EQ(r.remaining(), 0u);
    return s;
}

// Hands out a byte vector in pieces of a fixed size, as a deciphering source does.
class PiecewiseSource : public ByteSource {
public:
    PiecewiseSource(std::vector<uint8_t> bytes, size_t piece) : m_bytes(std::move(bytes)), m_piece(piece) {}
    std::span<const uint8_t> next() override {
        const size_t n = std::min(m_piece, m_bytes.size() - m_at);
        std::span<const uint8_t> s(m_bytes.data() + m_at, n);
        m_at += n;
        return s;
    }
    uint64_t remaining() const override { return m_bytes.size() - m_at; }

private:
    std::vector<uint8_t> m_bytes;
    size_t m_piece;
    size_t m_at = 0;
};

} // namespace

TEST(StreamFields, NumbersAreLittleEndian) {
    StreamWriter w;
    w.writeByte(0xAB);
    w.writeWord(0x0309);
    w.writeInt32(-2);
    w.writeInt64(0x0102030405060708LL);
    const std::vector<uint8_t> expected = {0xAB, 0x09, 0x03, 0xFE, 0xFF, 0xFF, 0xFF, 0x08,
                                           0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01};
    EXPECT_EQ(w.bytes(), expected);

    StreamReader r(w.bytes());
    EXPECT_EQ(r.readByte(), 0xAB);
    EXPECT_EQ(r.readWord(), 0x0309);
    EXPECT_EQ(r.readInt32(), -2);
    EXPECT_EQ(r.readInt64(), 0x0102030405060708LL);
    EXPECT_EQ(r.remaining(), 0u);
}

TEST(StreamFields, StringLengthPrefixesAtEveryBoundary) {
    struct Case {
        size_t length;
        std::vector<uint8_t> prefix;
    };
    const Case cases[] = {
        {0, {0xFF, 0xFE, 0xFF, 0x00}},
        {254, {0xFF, 0xFE, 0xFF, 0xFE}},
        {255, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00}},
        {65533, {0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF}},
        {65534, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {65535, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        std::u16string text(c.length, u'x');
        if (!text.empty())
            text.back() = u'\u20AC';
        const std::vector<uint8_t> bytes = written(text);
        ASSERT_EQ(bytes.size(), c.prefix.size() + 2 * c.length);
        EXPECT_EQ(prefixOf(bytes, c.prefix.size()), c.prefix);
        if (!text.empty()) {
            EXPECT_EQ(bytes[bytes.size() - 2], 0xAC);
            EXPECT_EQ(bytes[bytes.size() - 1], 0x20);
        }
        EXPECT_EQ(readBack(bytes), text);
    }
}

TEST(StreamFields, ReadsEightBitStringsAsWindows1252) {
    // Short form: the first byte is the count.
    EXPECT_EQ(readBack({3, 'a', 0x80, 0xE9}), u"a\u20AC\u00E9");
    // The bytes 1252 leaves undefined keep their value.
    EXPECT_EQ(readBack({4, 0x81, 0x8D, 0x9F, 0x9D}), u"\u0081\u008D\u0178\u009D");
    EXPECT_EQ(readBack({0}), u"");

    // Word count, int32 count and 64-bit count.
    std::vector<uint8_t> word = {0xFF, 0x03, 0x00, 'x', 'y', 0x99};
    EXPECT_EQ(readBack(word), u"xy\u2122");
    std::vector<uint8_t> dword = {0xFF, 0xFF, 0xFF};
    putInt32(dword, 2);
    dword.insert(dword.end(), {'o', 'k'});
    EXPECT_EQ(readBack(dword), u"ok");
    std::vector<uint8_t> qword = {0xFF, 0xFF, 0xFF};
    putInt32(qword, 0xFFFFFFFF);
    putInt64(qword, 1);
    qword.push_back(0xA3);
    EXPECT_EQ(readBack(qword), u"\u00A3");
}

TEST(StreamFields, ReadsEveryUtf16CountForm) {
    // After the marker the count comes again in its own forms; a word of
    // 0xFFFE is then a count, not a second marker.
    std::vector<uint8_t> wordCount = {0xFF, 0xFE, 0xFF, 0xFF, 0x02, 0x00, 'h', 0, 'i', 0};
    EXPECT_EQ(readBack(wordCount), u"hi");

    std::vector<uint8_t> big = {0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF};
    big.resize(big.size() + 2 * 0xFFFE, 0);
    EXPECT_EQ(readBack(big), std::u16string(0xFFFE, u'\0'));

    std::vector<uint8_t> qword = {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF};
    putInt32(qword, 0xFFFFFFFF);
    putInt64(qword, 1);
    putWord(qword, 0x4E2D);
    EXPECT_EQ(readBack(qword), u"\u4E2D");
}

TEST(StreamFields, TimestampsKeepSixWordsOnly) {
    NoteTimestamp ts = stamp(2031, 12, 3, 24, 23, 59);
    ts.second = 58;
    ts.millisecond = 999;
    StreamWriter w;
    w.writeTimestamp(ts);
    ASSERT_EQ(w.bytes().size(), 12u);
    StreamReader r(w.bytes());
    EXPECT_EQ(r.readTimestamp(), stamp(2031, 12, 3, 24, 23, 59));
}

TEST(StreamFields, PiecesAreJoinedAcrossBoundaries) {
    StreamWriter w;
    w.writeInt32(0x11223344);
    w.writeString(u"across the pieces");
    std::vector<uint8_t> block(100);
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<uint8_t>(i);
    w.writeBytes(block.data(), block.size());
    w.writeTimestamp(stamp(2020, 2, 6, 29, 1, 2));
    for (size_t piece : {1u, 3u, 16u, 1000u}) {
        SCOPED_TRACE(piece);
        PiecewiseSource source(w.bytes(), piece);
        StreamReader r(source);
        EXPECT_EQ(r.readInt32(), 0x11223344);
        EXPECT_EQ(r.readString(), u"across the pieces");
        EXPECT_EQ(r.readBlock(100), block);
        EXPECT_EQ(r.readTimestamp(), stamp(2020, 2, 6, 29, 1, 2));
        EXPECT_EQ(r.remaining(), 0u);
        EXPECT_FILE_ERROR(r.readByte(), FileError::Kind::EndOfFile);
    }
}

// A sink that records the sizes it was handed.
class RecordingSink : public ByteSink {
public:
    void write(const uint8_t* data, size_t size) override {
        sizes.push_back(size);
        bytes.insert(bytes.end(), data, data + size);
    }
    std::vector<size_t> sizes;
    std::vector<uint8_t> bytes;
};

TEST(StreamFields, SinkReceivesTheSameBytesAsMemory) {
    RecordingSink sink;
    StreamWriter toSink(sink);
    StreamWriter toMemory;
    const std::vector<uint8_t> large(3 << 20, 0x5A);
    for (StreamWriter* w : {&toSink, &toMemory}) {
        w->writeString(u"head");
        w->writeBytes(large.data(), large.size());
        w->writeInt32(7);
        w->flush();
    }
    EXPECT_EQ(sink.bytes, toMemory.bytes());
    EXPECT_EQ(toSink.written(), toMemory.bytes().size());
    EXPECT_GE(sink.sizes.size(), 2u);
}

TEST(StreamFields, DataEndingEarlyIsRefusedAtEveryLength) {
    StreamWriter w;
    w.writeString(std::u16string(300, u'q'));
    w.writeString(u"");
    w.writeTimestamp(stamp(2000, 1, 6, 1, 0, 0));
    w.writeInt32(5);
    const std::vector<uint8_t> all = w.bytes();
    for (size_t n = 0; n < all.size(); ++n) {
        SCOPED_TRACE(n);
        StreamReader r(std::span<const uint8_t>(all.data(), n));
        try {
            r.readString();
            r.readString();
            r.readTimestamp();
            r.readInt32();
            ADD_FAILURE() << "read past the end";
        } catch (const FileError& e) {
            EXPECT_EQ(e.kind(), FileError::Kind::EndOfFile);
            EXPECT_STREQ(e.what(), "An attempt was made to access an unnamed file past its end.");
        }
    }
}

TEST(StreamFields, CountsAreCheckedAgainstTheRemainingData) {
    // A 64-bit count of 2^31 or more is refused whatever remains.
    std::vector<uint8_t> huge = {0xFF, 0xFF, 0xFF};
    putInt32(huge, 0xFFFFFFFF);
    putInt64(huge, uint64_t{1} << 31);
    huge.resize(huge.size() + 64, 'a');
    {
        StreamReader r(huge);
        EXPECT_FILE_ERROR(r.readString(), FileError::Kind::EndOfFile);
    }
    // A UTF-16 count needs two bytes per unit: odd leftovers do not make up for it.
    std::vector<uint8_t> odd = {0xFF, 0xFE, 0xFF, 3, 'a', 0, 'b', 0, 'c'};
    {
        StreamReader r(odd);
        EXPECT_FILE_ERROR(r.readString(), FileError::Kind::EndOfFile);
    }
    std::vector<uint8_t> ten(10);
    StreamReader blocks(ten);
    EXPECT_FILE_ERROR(blocks.readBlock(-1), FileError::Kind::EndOfFile);
    EXPECT_FILE_ERROR(blocks.readBlock(11), FileError::Kind::EndOfFile);
    EXPECT_FILE_ERROR(blocks.requireCount(-5, 1), FileError::Kind::EndOfFile);
    EXPECT_FILE_ERROR(blocks.requireCount(3, 4), FileError::Kind::EndOfFile);
    blocks.requireCount(2, 5);
    EXPECT_EQ(blocks.readBlock(10).size(), 10u);
}

TEST(StreamFieldsDeathTest, HugeLengthsAllocateNothing) {
    // Each claims close to 4 GB with a few bytes behind it; with the address
    // space limited, allocating first would end in std::bad_alloc.
    std::vector<std::vector<uint8_t>> claims;
    std::vector<uint8_t> utf16 = {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF};
    putInt32(utf16, 0x7FFFFFF0);
    claims.push_back(utf16);
    std::vector<uint8_t> ansi = {0xFF, 0xFF, 0xFF};
    putInt32(ansi, 0xFFFFFFF0);
    claims.push_back(ansi);
    for (auto& c : claims)
        c.resize(c.size() + 32, 'z');
    EXPECT_EXIT(
        {
            limitAddressSpace(256ULL << 20);
            for (const auto& c : claims) {
                StreamReader r(c);
                try {
                    r.readString();
                    std::_Exit(2);
                } catch (const FileError&) {
                }
            }
            StreamReader r(claims[0]);
            try {
                r.readBlock(int64_t{0x7FFFFFFF});
                std::_Exit(2);
            } catch (const FileError&) {
            }
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}
