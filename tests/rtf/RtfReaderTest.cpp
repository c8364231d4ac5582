#include "RtfTestSupport.h"

#include "editor/rtf/PlainText.h"
#include "editor/rtf/RtfReader.h"

#include <gtest/gtest.h>

using namespace rtf;
using rtftest::describe;

namespace {

// The text of all runs of one paragraph.
std::u16string paraText(const Document& doc, size_t i) {
    std::u16string s;
    if (i >= doc.paragraphs.size()) {
        return u"<missing paragraph>";
    }
    for (const Run& r : doc.paragraphs[i].runs) {
        s += r.text;
    }
    return s;
}

std::u16string textOf(std::string_view rtf) {
    return DocumentPlainText(ReadRtf(rtf));
}

TEST(RtfReaderTest, CharacterFormattingAndTables) {
    const Document doc =
        ReadRtf("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Tahoma;}{\\f1\\fmodern Courier "
                "New;}}{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
                "\\pard\\f0\\fs20 plain \\b bold\\b0  \\i\\ul it-ul\\i0\\ulnone  \\strike s\\strike0 "
                "\\f1\\fs28\\cf1\\highlight2 red\\plain  reset\\par}");
    ASSERT_EQ(doc.paragraphs.size(), 1u) << describe(doc);
    const auto& runs = doc.paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 8u) << describe(doc);
    EXPECT_EQ(runs[0].text, u"plain ");
    EXPECT_TRUE(runs[1].format.bold);
    EXPECT_EQ(runs[1].text, u"bold");
    EXPECT_TRUE(runs[3].format.italic && runs[3].format.underline);
    EXPECT_TRUE(runs[5].format.strikeout);
    const CharFormat& red = runs[6].format;
    EXPECT_EQ(red.face, u"Courier New");
    EXPECT_EQ(red.sizeTwips, 280);
    EXPECT_EQ(red.textColour, makeColour(255, 0, 0));
    EXPECT_EQ(red.backColour, makeColour(0, 0, 255));
    // \plain goes back to the default font and size, automatic colours.
    EXPECT_EQ(runs[7].format, CharFormat{}) << describe(doc);
    EXPECT_EQ(runs[7].text, u" reset");
}

TEST(RtfReaderTest, ColourIndexZeroAndOutOfRangeAreAutomatic) {
    const Document doc = ReadRtf("{\\rtf1{\\colortbl ;\\red1\\green2\\blue3;}\\cf1 a\\cf0 b\\cf99 c\\cb1 d"
                                 "\\highlight0 e\\chcbpat1 f}");
    const auto& runs = doc.paragraphs.at(0).runs;
    ASSERT_EQ(runs.size(), 5u) << describe(doc);
    EXPECT_EQ(runs[0].format.textColour, makeColour(1, 2, 3));
    EXPECT_EQ(runs[1].text, u"bc");
    EXPECT_EQ(runs[1].format.textColour, kAutoColour);
    EXPECT_EQ(runs[2].format.backColour, makeColour(1, 2, 3));
    EXPECT_EQ(runs[3].format.backColour, kAutoColour);
    EXPECT_EQ(runs[4].format.backColour, makeColour(1, 2, 3));
}

TEST(RtfReaderTest, GroupsRestoreFormatting) {
    const Document doc = ReadRtf("{\\rtf1 a{\\b b{\\i c}d}e}");
    const auto& runs = doc.paragraphs.at(0).runs;
    ASSERT_EQ(runs.size(), 5u) << describe(doc);
    EXPECT_FALSE(runs[0].format.bold);
    EXPECT_TRUE(runs[2].format.bold && runs[2].format.italic);
    EXPECT_TRUE(runs[3].format.bold && !runs[3].format.italic);
    EXPECT_FALSE(runs[4].format.bold);
}

TEST(RtfReaderTest, ParagraphPropertiesApplyAtTheParagraphMark) {
    const Document doc = ReadRtf("{\\rtf1\\pard\\qc centre\\par right\\qr\\par\\pard\\li720\\ri360\\fi-360 "
                                 "indented\\par\\qj justified\\par\\pard left\\par}");
    ASSERT_EQ(doc.paragraphs.size(), 5u) << describe(doc);
    EXPECT_EQ(doc.paragraphs[0].alignment, Alignment::Center);
    EXPECT_EQ(doc.paragraphs[1].alignment, Alignment::Right);
    EXPECT_EQ(doc.paragraphs[2].alignment, Alignment::Left);
    EXPECT_EQ(doc.paragraphs[2].leftIndentTwips, 720);
    EXPECT_EQ(doc.paragraphs[2].rightIndentTwips, 360);
    EXPECT_EQ(doc.paragraphs[2].firstIndentTwips, -360);
    EXPECT_EQ(doc.paragraphs[3].alignment, Alignment::Justify);
    EXPECT_EQ(doc.paragraphs[3].leftIndentTwips, 720);
    EXPECT_EQ(doc.paragraphs[4], Paragraph{.runs = doc.paragraphs[4].runs});
}

TEST(RtfReaderTest, TrailingParagraphMarkEndsTheDocument) {
    // The last \par is the end of the text, not an empty paragraph after it.
    EXPECT_EQ(ReadRtf("{\\rtf1 a\\par b\\par\r\n}").paragraphs.size(), 2u);
    EXPECT_EQ(ReadRtf("{\\rtf1 a\\par b}").paragraphs.size(), 2u);
    EXPECT_EQ(ReadRtf("{\\rtf1 a\\par\\par}").paragraphs.size(), 2u);
    // Never no paragraph at all.
    EXPECT_EQ(ReadRtf("{\\rtf1}").paragraphs.size(), 1u);
    EXPECT_EQ(ReadRtf("").paragraphs.size(), 1u);
    // The alignment of a last paragraph without a mark is the document's.
    EXPECT_EQ(ReadRtf("{\\rtf1\\qc x}").paragraphs.at(0).alignment, Alignment::Center);
}

TEST(RtfReaderTest, RichEditNumberingForms) {
    // Bullets and each numbering style in the \pn form, with \pntext skipped.
    const Document doc =
        ReadRtf("{\\rtf1\\ansi{\\fonttbl{\\f0 Tahoma;}{\\f1\\fcharset2 Symbol;}}"
                "\\pard{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'B7}}\\fi-"
                "360\\li360 dot\\par"
                "{\\pntext\\f1\\'B7\\tab}dot2\\par"
                "\\pard{\\pntext 3.\\tab}{\\*\\pn\\pnlvlbody\\pnstart3\\pndec{\\pntxta.}}three\\par"
                "\\pard{\\pntext a.\\tab}{\\*\\pn\\pnlvlbody\\pnlcltr{\\pntxta.}}a\\par"
                "\\pard{\\pntext A.\\tab}{\\*\\pn\\pnlvlbody\\pnucltr{\\pntxta.}}A\\par"
                "\\pard{\\pntext i.\\tab}{\\*\\pn\\pnlvlbody\\pnlcrm{\\pntxta.}}i\\par"
                "\\pard{\\pntext I.\\tab}{\\*\\pn\\pnlvlbody\\pnucrm{\\pntxta.}}I\\par"
                "\\pard none\\par}");
    ASSERT_EQ(doc.paragraphs.size(), 8u) << describe(doc);
    const Numbering expected[] = {Numbering::Bullet,      Numbering::Bullet,      Numbering::Arabic,
                                  Numbering::LowerLetter, Numbering::UpperLetter, Numbering::LowerRoman,
                                  Numbering::UpperRoman,  Numbering::None};
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(doc.paragraphs[i].numbering, expected[i]) << i << "\n" << describe(doc);
    }
    EXPECT_EQ(doc.paragraphs[2].numberingStart, 3);
    EXPECT_EQ(doc.paragraphs[0].leftIndentTwips, 360);
    // The list markers are not text.
    EXPECT_EQ(paraText(doc, 0), u"dot");
    EXPECT_EQ(paraText(doc, 2), u"three");
}

TEST(RtfReaderTest, ListTableNumbering) {
    const Document doc = ReadRtf(
        "{\\rtf1{\\*\\listtable{\\list\\listtemplateid1{\\listlevel\\levelnfc23\\levelstartat1{\\leveltext "
        "\\'01\\u8226 ?;}{\\levelnumbers;}}{\\listlevel\\levelnfc4\\levelstartat2{\\leveltext\\'02\\'01.;}}"
        "\\listid7}{\\list{\\listlevel\\levelnfc2\\levelstartat5}\\listid8}}"
        "{\\*\\listoverridetable{\\listoverride\\listid7\\listoverridecount0\\ls1}{"
        "\\listoverride\\listid8\\ls2}}"
        "\\pard\\ls1 {\\listtext \\u8226 ?\\tab}bullet\\par\\ls1\\ilvl1 letter\\par\\pard\\ls2 roman\\par"
        "\\pard\\ls9 unknown\\par}");
    ASSERT_EQ(doc.paragraphs.size(), 4u) << describe(doc);
    EXPECT_EQ(doc.paragraphs[0].numbering, Numbering::Bullet);
    EXPECT_EQ(paraText(doc, 0), u"bullet");
    EXPECT_EQ(doc.paragraphs[1].numbering, Numbering::LowerLetter);
    EXPECT_EQ(doc.paragraphs[1].numberingStart, 2);
    EXPECT_EQ(doc.paragraphs[2].numbering, Numbering::LowerRoman);
    EXPECT_EQ(doc.paragraphs[2].numberingStart, 5);
    EXPECT_EQ(doc.paragraphs[3].numbering, Numbering::None);
}

TEST(RtfReaderTest, CodePagesFromHeaderAndFontCharset) {
    // Cyrillic under \ansicpg1251 with a font that names no charset.
    EXPECT_EQ(
        textOf("{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0 Arial;}}\\f0 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2}"),
        u"Привет");
    // A 1252 document whose font is Central European: the font decides.
    EXPECT_EQ(
        textOf("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset0 Arial;}{\\f1\\fcharset238 Arial CE;}}"
               "\\f0\\'e8\\f1\\'e8}"),
        u"\u00E8\u010D");
    // Double-byte: lead and trail as two \'hh, or a lead byte and a literal trail byte.
    EXPECT_EQ(
        textOf(
            "{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fcharset128 MS Gothic;}}\\f0 \\'93\\'fa\\'96\\'7b}"),
        u"日本");
    EXPECT_EQ(textOf("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset128 MS Gothic;}}\\f0 \\'83\\'41\\'83A}"),
              u"アア");
    // Raw 8-bit bytes are in the code page too.
    EXPECT_EQ(textOf("{\\rtf1\\ansi\\ansicpg1251 \xcf\xf0}"), u"Пр");
    // A font name in the font's own code page.
    const Document doc =
        ReadRtf("{\\rtf1\\ansi\\ansicpg949{\\fonttbl{\\f0\\fcharset129 \\'b8\\'bc\\'c0\\'ba;}}\\f0 x}");
    EXPECT_EQ(doc.paragraphs.at(0).runs.at(0).format.face, u"맑은");
    // An unknown code page falls back to 1252 rather than failing.
    EXPECT_EQ(textOf("{\\rtf1\\ansi\\ansicpg99999 \\'e9}"), u"\u00E9");
}

TEST(RtfReaderTest, UnicodeEscapesAndFallbacks) {
    // \uN with the default single fallback character.
    EXPECT_EQ(textOf("{\\rtf1 \\u20013?\\u25991?}"), u"中文");
    // Negative values are 16-bit two's complement.
    EXPECT_EQ(textOf("{\\rtf1 \\u-3913?}"), u"\uF0B7");
    // A \'hh fallback is skipped like a character; \uc2 skips two.
    EXPECT_EQ(textOf("{\\rtf1 \\u8216\\'93hi{\\uc2\\u228\\'E8a}b}"), u"\u2018hi\u00E4b");
    // \uc0: nothing skipped. The count is per group.
    EXPECT_EQ(textOf("{\\rtf1 {\\uc0\\u945 a}\\u946 bc}"), u"\u03B1a\u03B2c");
    // A group end stops the skipping.
    EXPECT_EQ(textOf("{\\rtf1\\uc3 {\\u945}xyz}"), u"\u03B1xyz");
    // Beyond the BMP: a surrogate pair, even with formatting in between.
    EXPECT_EQ(textOf("{\\rtf1 \\u-10179?\\u-9047?}"), u"\U0001F4A9");
    EXPECT_EQ(textOf("{\\rtf1 \\u-10179?\\b\\u-9047?}"), u"\U0001F4A9");
    // Lone halves become the replacement character.
    EXPECT_EQ(textOf("{\\rtf1\\uc0 a\\u-10240 b\\u-9216 c\\u-9216\\u-10240 d}"),
              u"a\uFFFDb\uFFFDc\uFFFD\uFFFDd");
    // \upr carries the same text twice: only the \ud half is read.
    EXPECT_EQ(textOf("{\\rtf1 {\\upr{ansi}{\\*\\ud{\\u1046?}}}}"), u"\u0416");
}

TEST(RtfReaderTest, SpecialCharactersAndControlSymbols) {
    EXPECT_EQ(textOf("{\\rtf1 a\\tab b\\line c\\~d\\-e\\_f\\{\\}\\\\}"), u"a\tb\vc\u00A0d\u00ADe\u2011f{}\\");
    EXPECT_EQ(textOf("{\\rtf1 \\emdash\\endash\\emspace\\enspace\\qmspace\\bullet\\lquote\\rquote\\ldblquote"
                     "\\rdblquote}"),
              u"\u2014\u2013\u2003\u2002\u2005\u2022\u2018\u2019\u201C\u201D");
    // A backslash before a line end is a paragraph mark; bare line ends are nothing.
    EXPECT_EQ(textOf("{\\rtf1 a\\\r\nb\nc\\\nd}"), u"a\r\nbc\r\nd");
}

TEST(RtfReaderTest, DestinationsAndFields) {
    // Known non-text destinations, starred unknown ones, hidden text and
    // field instructions are dropped; a field's result is kept.
    EXPECT_EQ(
        textOf("{\\rtf1{\\info{\\title T}}{\\stylesheet{\\s0 Normal;}}{\\*\\generator Riched20;}"
               "{\\*\\unknownthing x}{\\field{\\*\\fldinst{HYPERLINK \"http://x\"}}{\\fldrslt{\\ul link}}}"
               " {\\v hidden}shown{\\header h}{\\footnote f}}"),
        u"link shown");
    // An unknown destination without a star keeps its text, as RTF asks.
    EXPECT_EQ(textOf("{\\rtf1{\\someword text}}"), u"text");
    // Table cells are separated, rows end paragraphs.
    EXPECT_EQ(textOf("{\\rtf1\\trowd\\cellx100\\cellx200\\intbl a\\cell b\\cell\\row c\\par}"),
              u"a\tb\t\r\nc");
}

TEST(RtfReaderTest, PicturesKeepPngAndJpegOnly) {
    const std::string rtf =
        std::string("{\\rtf1 a{\\pict\\pngblip\\picw10\\pich10\\picwgoal150\\pichgoal300 89504e47\r\n0d0a}"
                    "{\\pict\\wmetafile8\\picwgoal10 0102}"
                    "{\\*\\shppict{\\pict\\jpegblip\\picwgoal200\\pichgoal100\\picscalex50 ffd8ffe0}}"
                    "{\\nonshppict{\\pict\\wmetafile8 0102}}"
                    "{\\pict\\pngblip {\\bin3 ") +
        std::string(1, '\0') + "\\}}}b}";
    const Document doc = ReadRtf(rtf);
    const auto& runs = doc.paragraphs.at(0).runs;
    ASSERT_EQ(runs.size(), 5u) << describe(doc);
    ASSERT_TRUE(runs[1].isPicture);
    EXPECT_EQ(runs[1].picture.kind, Picture::Kind::Png);
    EXPECT_EQ(runs[1].picture.data, (std::vector<uint8_t>{0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a}));
    EXPECT_EQ(runs[1].picture.widthTwips, 150);
    EXPECT_EQ(runs[1].picture.heightTwips, 300);
    ASSERT_TRUE(runs[2].isPicture);
    EXPECT_EQ(runs[2].picture.kind, Picture::Kind::Jpeg);
    EXPECT_EQ(runs[2].picture.widthTwips, 100); // scaled to 50 %
    ASSERT_TRUE(runs[3].isPicture);
    // \bin data is taken raw, braces and backslashes included.
    EXPECT_EQ(runs[3].picture.data, (std::vector<uint8_t>{0x00, '\\', '}'}));
    EXPECT_EQ(runs[4].text, u"b");
}

TEST(RtfReaderTest, BinarySkippedOutsidePictures) {
    // The binary bytes hold braces and text that must not be read.
    const std::string rtf = std::string("{\\rtf1 a{\\*\\objdata \\bin4 }}{x}b") + "\\bin3 {{{c}";
    EXPECT_EQ(textOf(rtf), u"abc");
}

TEST(RtfReaderTest, MalformedStructure) {
    // Text after the document's closing brace, a missing closing brace, and a
    // font table that never closes.
    EXPECT_EQ(textOf("{\\rtf1 a}}}b"), u"a");
    EXPECT_EQ(textOf("{\\rtf1 {\\b a"), u"a");
    EXPECT_EQ(textOf("{\\rtf1{\\fonttbl{\\f0\\fnil Verdana;} \\pard\\f0 body text\\par }}"), u"body text");
    // Before the opening brace nothing counts.
    EXPECT_EQ(textOf("junk{\\rtf1 a}"), u"a");
    // A font used before it is declared, or never declared, reads as the default face.
    const Document doc = ReadRtf("{\\rtf1\\f5 x}");
    EXPECT_EQ(doc.paragraphs.at(0).runs.at(0).format.face, CharFormat{}.face);
}

} // namespace
