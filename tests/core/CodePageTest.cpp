#include "core/CodePage.h"

#include <gtest/gtest.h>

#include <random>
#include <thread>

namespace {

TEST(CodePageTest, Cp1252SpecialsAndLatin1) {
    // "€‚ƒ„…" then "é" and "ÿ".
    const std::string bytes = "\x80\x82\x83\x84\x85\xE9\xFF";
    EXPECT_EQ(CodePage::toUtf16(bytes), u"\u20AC\u201A\u0192\u201E\u2026\u00E9\u00FF");
    EXPECT_EQ(CodePage::fromUtf16(u"\u20AC\u201A\u0192\u201E\u2026\u00E9\u00FF"), bytes);
    EXPECT_EQ(CodePage::toCp1252(u'\u2122'), 0x99);
    EXPECT_EQ(CodePage::toCp1252(u'\u0416'), -1);
}

TEST(CodePageTest, Cp1252EveryByteSurvivesARoundTrip) {
    // The database loader reads arbitrary 8-bit strings; none may be altered,
    // including the five bytes 1252 leaves undefined.
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all.push_back(static_cast<char>(b));
    }
    const std::u16string wide = CodePage::toUtf16(all);
    ASSERT_EQ(wide.size(), 256u);
    EXPECT_EQ(wide[0x81], u'\u0081');
    EXPECT_EQ(wide[0x9D], u'\u009D');
    std::vector<size_t> bad;
    EXPECT_EQ(CodePage::fromUtf16(wide, CodePage::kAnsi, &bad), all);
    EXPECT_TRUE(bad.empty());
    // The iconv path must agree with the table for the defined bytes.
    for (int b = 0; b < 256; ++b) {
        if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) {
            continue;
        }
        EXPECT_EQ(CodePage::fromCp1252(static_cast<uint8_t>(b)), wide[b]) << b;
    }
}

TEST(CodePageTest, Cp1252ReportsUnrepresentableCharacters) {
    std::vector<size_t> bad;
    // Cyrillic, then a character beyond the BMP (two units), then plain text.
    const std::u16string text = u"a\u0416b\U0001F4A9c";
    EXPECT_EQ(CodePage::fromUtf16(text, 1252, &bad), "a?b??c");
    EXPECT_EQ(bad, (std::vector<size_t>{1, 3, 4}));
}

TEST(CodePageTest, Cp1252BlocksOfAsciiMeetOtherCharacters) {
    // ASCII is converted in blocks; a character needing the table may sit
    // anywhere in or between blocks, and the tail may be short.
    for (size_t length : {15u, 16u, 17u, 40u}) {
        for (size_t at = 0; at < length; ++at) {
            std::u16string text(length, u'a');
            std::string expected(length, 'a');
            text[at] = u'\u0416';
            expected[at] = '?';
            if (at + 1 < length) {
                text[at + 1] = u'\u00E9';
                expected[at + 1] = '\xE9';
            }
            std::vector<size_t> bad;
            EXPECT_EQ(CodePage::fromUtf16(text, 1252, &bad), expected) << length << " " << at;
            EXPECT_EQ(bad, std::vector<size_t>{at}) << length << " " << at;
        }
    }
}

TEST(CodePageTest, SingleByteCodePagesThroughIconv) {
    struct Case {
        int codePage;
        std::string bytes;
        std::u16string text;
    };
    const Case cases[] = {
        {1250, "\x9A\xE8\xF8", u"\u0161\u010D\u0159"},                     // Czech š č ř
        {1251, "\xCF\xF0\xE8\xE2\xE5\xF2", u"Привет"},                     // Russian
        {1253, "\xC1\xE8\xE7\xED\xE1", u"\u0391\u03B8\u03B7\u03BD\u03B1"}, // Greek
        {1254, "\xF0\xFD\xFE", u"\u011F\u0131\u015F"},                     // Turkish ğ ı ş
        {1255, "\xF9\xEC\xE5\xED", u"\u05E9\u05DC\u05D5\u05DD"},           // Hebrew
        {1256, "\xD3\xE1\xC7\xE3", u"\u0633\u0644\u0627\u0645"},           // Arabic
        {1257, "\xE0\xF0", u"\u0105\u0161"},                               // Baltic
        {874, "\xA1\xD2", u"\u0E01\u0E32"},                                // Thai
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CodePage::toUtf16(c.bytes, c.codePage), c.text) << c.codePage;
        std::vector<size_t> bad;
        EXPECT_EQ(CodePage::fromUtf16(c.text, c.codePage, &bad), c.bytes) << c.codePage;
        EXPECT_TRUE(bad.empty()) << c.codePage;
    }
    // 1258 composes a base letter with a following tone mark.
    EXPECT_EQ(CodePage::toUtf16("Vi\xEA\xF2t", 1258), u"Vi\u1EC7t"); // ê + dot below
}

TEST(CodePageTest, DoubleByteCodePages) {
    // Shift-JIS "日本", GBK "中文", UHC "한국", Big5 "中文".
    EXPECT_EQ(CodePage::toUtf16("\x93\xFA\x96\x7B", 932), u"日本");
    EXPECT_EQ(CodePage::toUtf16("\xD6\xD0\xCE\xC4", 936), u"中文");
    EXPECT_EQ(CodePage::toUtf16("\xC7\xD1\xB1\xB9", 949), u"한국");
    EXPECT_EQ(CodePage::toUtf16("\xA4\xA4\xA4\xE5", 950), u"中文");
    EXPECT_EQ(CodePage::fromUtf16(u"日本a", 932), "\x93\xFA\x96\x7B"
                                                  "a");
    EXPECT_EQ(CodePage::fromUtf16(u"한국", 949), "\xC7\xD1\xB1\xB9");

    EXPECT_TRUE(CodePage::isLeadByte(932, 0x93));
    EXPECT_FALSE(CodePage::isLeadByte(932, 0xA1)); // half-width katakana: one byte
    EXPECT_TRUE(CodePage::isLeadByte(936, 0xD6));
    EXPECT_FALSE(CodePage::isLeadByte(1252, 0xD6));
    EXPECT_TRUE(CodePage::isDoubleByte(949));
    EXPECT_FALSE(CodePage::isDoubleByte(1251));
}

TEST(CodePageTest, InvalidAndTruncatedInputIsReplacedNotFatal) {
    // A lead byte at the very end, and an undefined lead byte in the middle.
    EXPECT_EQ(CodePage::toUtf16("ab\x93", 932), u"ab\uFFFD");
    const std::u16string mid = CodePage::toUtf16("a\xFF"
                                                 "b",
                                                 936);
    EXPECT_EQ(mid.front(), u'a');
    EXPECT_EQ(mid.back(), u'b');
    EXPECT_NE(mid.find(u'\uFFFD'), std::u16string::npos);
    // Thai leaves 0xFC undefined.
    EXPECT_EQ(CodePage::toUtf16("\xA1\xFC\xA1", 874), u"\u0E01\uFFFD\u0E01");
}

TEST(CodePageTest, UnrepresentableCharactersInIconvCodePages) {
    std::vector<size_t> bad;
    // Euro sign exists in 1251, CJK and the emoji do not; a lone surrogate is never valid.
    const std::u16string text = u"\u20AC\u4E2D\U0001F4A9\xD800x";
    EXPECT_EQ(CodePage::fromUtf16(text, 1251, &bad), "\x88???x");
    EXPECT_EQ(bad, (std::vector<size_t>{1, 2, 4}));
    bad.clear();
    EXPECT_EQ(CodePage::fromUtf16(u"a\u0416", 932, &bad), "a\x84\x47");
    EXPECT_TRUE(bad.empty());
    // A trailing lone high surrogate.
    bad.clear();
    EXPECT_EQ(CodePage::fromUtf16(u"ab\xD83D", 1250, &bad), "ab?");
    EXPECT_EQ(bad, (std::vector<size_t>{2}));
}

TEST(CodePageTest, UnsupportedCodePageReadsAs1252) {
    EXPECT_FALSE(CodePage::isSupported(437));
    EXPECT_TRUE(CodePage::isSupported(1252));
    EXPECT_EQ(CodePage::toUtf16("\xE9", 437), u"\u00E9");
    EXPECT_EQ(CodePage::fromUtf16(u"\u00E9", 437), "\xE9");
}

TEST(CodePageTest, AppendKeepsExistingText) {
    std::u16string out = u"x";
    CodePage::appendUtf16(out, "\xCF", 1251);
    CodePage::appendUtf16(out, "\xE9", 1252);
    EXPECT_EQ(out, u"x\u041F\u00E9");
}

TEST(CodePageTest, LargeAndRandomInputsNeverFail) {
    // Long text exercises the buffer growth; random bytes must come back as
    // some text with no crash, in every code page.
    std::mt19937 rng(1234);
    std::string bytes(100000, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(rng());
    }
    for (int cp : {874, 932, 936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258}) {
        const std::u16string text = CodePage::toUtf16(bytes, cp);
        EXPECT_FALSE(text.empty()) << cp;
        EXPECT_LE(text.size(), bytes.size()) << cp;
        const std::string back = CodePage::fromUtf16(text, cp);
        EXPECT_FALSE(back.empty()) << cp;
    }
    const std::u16string cyr(50000, u'\u0416');
    EXPECT_EQ(CodePage::fromUtf16(cyr, 1251), std::string(50000, '\xC6'));
    EXPECT_EQ(CodePage::fromUtf16(std::u16string(50000, u'\u65E5'), 932).size(), 100000u);
}

TEST(CodePageTest, ThreadsConvertIndependently) {
    auto work = [](int cp, std::string bytes, std::u16string expected, bool* ok) {
        *ok = true;
        for (int i = 0; i < 2000; ++i) {
            *ok = *ok && CodePage::toUtf16(bytes, cp) == expected;
        }
    };
    bool ok1 = false, ok2 = false;
    std::thread t1(work, 932, std::string("\x93\xFA"), std::u16string(u"日"), &ok1);
    std::thread t2(work, 1251, std::string("\xCF"), std::u16string(u"П"), &ok2);
    t1.join();
    t2.join();
    EXPECT_TRUE(ok1);
    EXPECT_TRUE(ok2);
}

} // namespace
