#include "RtfTestSupport.h"

#include "editor/rtf/PlainText.h"
#include "editor/rtf/RtfReader.h"

#include <gtest/gtest.h>

using namespace rtf;

namespace {

TEST(PlainTextTest, TenCharacterRule) {
    EXPECT_TRUE(IsRtfBody(u"{\\rtf1\\ansi x}"));
    EXPECT_TRUE(IsRtfBody(u"{\\RTF1 x}"));         // letter case ignored
    EXPECT_TRUE(IsRtfBody(u"     {\\rtf1"));       // marker ends at character 10
    EXPECT_FALSE(IsRtfBody(u"      {\\rtf1"));     // marker runs past character 10
    EXPECT_FALSE(IsRtfBody(u"0123456789{\\rtf1")); // only after the tenth character
    EXPECT_TRUE(IsRtfBody(u"{\\urtf1 x}"));
    EXPECT_TRUE(IsRtfBody(u"{\\pwd2 x}"));
    EXPECT_TRUE(IsRtfBody(u"{\\Pwd")); // shorter than ten: the whole body
    EXPECT_FALSE(IsRtfBody(u"{\\rt"));
    EXPECT_FALSE(IsRtfBody(u""));
    EXPECT_FALSE(IsRtfBody(u"plain note"));
    // Non-ASCII capitals are not folded into the marker.
    EXPECT_FALSE(IsRtfBody(u"{\\\u0280tf1"));
}

TEST(PlainTextTest, PlainBodiesPassThroughUnchanged) {
    const std::u16string body = u"line 1\r\nЖ {\\b not rtf}";
    EXPECT_EQ(BodyToPlainText(body), body);
    EXPECT_EQ(BodyToPlainText(u""), u"");
}

TEST(PlainTextTest, RtfBodiesBecomeVisibleText) {
    const std::u16string body =
        u"{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Tahoma;}}\\pard{\\pntext 1.\\tab}"
        u"{\\*\\pn\\pnlvlbody\\pndec}\\f0 caf\\'e9\\par\\pard second {\\pict\\pngblip 0102}"
        u"line\\par}";
    EXPECT_EQ(BodyToPlainText(body), u"caf\u00E9\r\nsecond line");
    // The body's characters are 1252 bytes for the reader: a body stored by
    // the editor holds é as a character, not as \'e9.
    EXPECT_EQ(BodyToPlainText(u"{\\rtf1 caf\u00E9 \u20AC}"), u"caf\u00E9 \u20AC");
}

TEST(PlainTextTest, BodyBytesAreTheAnsiCodePage) {
    EXPECT_EQ(BodyToRtfBytes(u"{\\rtf1 \u00E9\u20AC}"), "{\\rtf1 \xE9\x80}");
    // What 1252 cannot hold becomes '?', as the editor's stream does.
    EXPECT_EQ(BodyToRtfBytes(u"\u0416"), "?");
}

TEST(PlainTextTest, AgreesWithTheReaderOnEveryCorpusFile) {
    int checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(rtftest::corpusDir())) {
        if (entry.path().extension() != ".rtf") {
            continue;
        }
        const std::string bytes = rtftest::readFile(entry.path());
        const std::u16string body = CodePage::toUtf16(bytes);
        if (!IsRtfBody(body)) {
            continue;
        }
        EXPECT_EQ(BodyToPlainText(body), DocumentPlainText(ReadRtf(bytes))) << entry.path().filename();
        ++checked;
    }
    EXPECT_GE(checked, 30);
}

TEST(PlainTextTest, EmptyParagraphsKeepTheirSeparators) {
    const char16_t* bodies[] = {
        u"{\\rtf1 a\\par\\par b\\par}",
        u"{\\rtf1 \\par\\par}",
        u"{\\rtf1 a\\par{\\pict\\jpegblip ffd8}\\par c}",
        u"{\\rtf1 a\\par {\\v hidden}}",
        u"{\\rtf1 {\\pict\\pngblip 01}}",
    };
    for (const char16_t* body : bodies) {
        const std::u16string b(body);
        EXPECT_EQ(BodyToPlainText(b), DocumentPlainText(ReadRtf(BodyToRtfBytes(b)))) << rtftest::toUtf8(b);
    }
    EXPECT_EQ(BodyToPlainText(u"{\\rtf1 a\\par\\par b\\par}"), u"a\r\n\r\nb");
}

} // namespace
