#include "RtfTestSupport.h"

#include "editor/rtf/PlainText.h"
#include "editor/rtf/RtfReader.h"
#include "editor/rtf/RtfWriter.h"

#include <gtest/gtest.h>

#include <random>

using namespace rtf;
using rtftest::describe;

namespace {

Run textRun(std::u16string text, CharFormat format = {}) {
    Run r;
    r.text = std::move(text);
    r.format = std::move(format);
    return r;
}

Paragraph para(std::vector<Run> runs) {
    Paragraph p;
    p.runs = std::move(runs);
    return p;
}

void expectRoundTrip(const Document& doc) {
    const std::string rtf = WriteRtf(doc);
    const Document back = ReadRtf(rtf);
    EXPECT_EQ(back, doc) << "written:\n"
                         << rtf << "\nexpected:\n"
                         << describe(doc) << "read:\n"
                         << describe(back);
}

TEST(RtfRoundTripTest, EveryCharacterAttribute) {
    CharFormat bold, italic, underline, strike, face, size, colour, back, all;
    bold.bold = true;
    italic.italic = true;
    underline.underline = true;
    strike.strikeout = true;
    face.face = u"Courier New";
    size.sizeTwips = 1440;
    colour.textColour = makeColour(200, 10, 30);
    back.backColour = makeColour(255, 255, 0);
    all = {u"Courier New", 160, true, true, true, true, makeColour(0, 0, 0), makeColour(255, 255, 255)};
    Document doc;
    doc.paragraphs.push_back(para({textRun(u"plain"), textRun(u"bold", bold), textRun(u"italic", italic),
                                   textRun(u"underline", underline), textRun(u"strike", strike),
                                   textRun(u"face", face), textRun(u"size", size), textRun(u"colour", colour),
                                   textRun(u"back", back), textRun(u"all", all), textRun(u"plain again")}));
    expectRoundTrip(doc);
}

TEST(RtfRoundTripTest, EveryParagraphAttributeAndNumberingKind) {
    Document doc;
    const Numbering kinds[] = {Numbering::None,        Numbering::Bullet,      Numbering::Arabic,
                               Numbering::LowerLetter, Numbering::UpperLetter, Numbering::LowerRoman,
                               Numbering::UpperRoman};
    const Alignment aligns[] = {Alignment::Left, Alignment::Center, Alignment::Right, Alignment::Justify};
    int i = 0;
    for (Numbering kind : kinds) {
        for (int item = 0; item < 3; ++item) {
            Paragraph p = para({textRun(u"item " + std::u16string(1, static_cast<char16_t>(u'a' + i)))});
            p.numbering = kind;
            p.numberingStart = kind == Numbering::None ? 1 : 1 + (i % 4);
            p.alignment = aligns[i % 4];
            p.leftIndentTwips = (i % 3) * 360;
            p.rightIndentTwips = (i % 2) * 180;
            p.firstIndentTwips = -(i % 2) * 360;
            doc.paragraphs.push_back(p);
            ++i;
        }
    }
    // An empty paragraph, and one with only a line break.
    doc.paragraphs.push_back(para({}));
    doc.paragraphs.push_back(para({textRun(u"\v")}));
    expectRoundTrip(doc);
}

TEST(RtfRoundTripTest, TextThatNeedsEscaping) {
    Document doc;
    doc.paragraphs.push_back(para({textRun(u"braces {} backslash \\ tab\tline\vend")}));
    // 1252 characters, the five undefined 1252 bytes, controls, other scripts,
    // and characters beyond the BMP.
    doc.paragraphs.push_back(para({textRun(u"caf\u00E9 \u20AC \u2014 \u0081\u009D \x01\r")}));
    doc.paragraphs.push_back(
        para({textRun(u"Привет 中文 한국어 \u05E9\u05DC\u05D5\u05DD \uFFFD \U0001F4A9 \U00010332")}));
    doc.paragraphs.push_back(para({textRun(u" leading and trailing spaces ")}));
    expectRoundTrip(doc);
}

TEST(RtfRoundTripTest, FaceNamesOutsideAscii) {
    CharFormat f1, f2;
    f1.face = u"ＭＳ ゴシック";
    f2.face = u"Odd;Name";
    Document doc;
    doc.paragraphs.push_back(para({textRun(u"a", f1), textRun(u"b", f2)}));
    expectRoundTrip(doc);
}

TEST(RtfRoundTripTest, Pictures) {
    rtf::Run png;
    png.isPicture = true;
    png.picture.kind = Picture::Kind::Png;
    png.picture.data = {0x89, 'P', 'N', 'G', 0, '{', '}', '\\'};
    png.picture.widthTwips = 1440;
    png.picture.heightTwips = 720;
    rtf::Run jpeg = png;
    jpeg.picture.kind = Picture::Kind::Jpeg;
    jpeg.picture.data.assign(1000, 0xD8);
    jpeg.picture.widthTwips = 0;
    jpeg.format.bold = true;
    Document doc;
    doc.paragraphs.push_back(para({textRun(u"before"), png, textRun(u"between"), jpeg, textRun(u"after")}));
    doc.paragraphs.push_back(para({png}));
    expectRoundTrip(doc);
}

TEST(RtfRoundTripTest, WrittenFormIsWhatRichEditWrites) {
    Document doc;
    Paragraph p = para({textRun(u"caf\u00E9 \u0416 \U0001F4A9")});
    p.numbering = Numbering::UpperRoman;
    p.numberingStart = 4;
    doc.paragraphs.push_back(p);
    Paragraph q = p;
    q.runs = {textRun(u"next")};
    doc.paragraphs.push_back(q);
    Paragraph b = para({textRun(u"dot")});
    b.numbering = Numbering::Bullet;
    doc.paragraphs.push_back(b);
    const std::string rtf = WriteRtf(doc);
    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl", 0), 0u) << rtf;
    EXPECT_NE(rtf.find("\\viewkind4\\uc1"), std::string::npos);
    EXPECT_NE(rtf.find("caf\\'e9 \\u1046? \\u-10179?\\u-9047?"), std::string::npos) << rtf;
    // Each item carries its own label, counting on from the start.
    EXPECT_NE(rtf.find("{\\pntext\\f0 IV.\\tab}{\\*\\pn\\pnlvlbody\\pnf0\\pnindent0\\pnstart4\\pnucrm"),
              std::string::npos)
        << rtf;
    EXPECT_NE(rtf.find("{\\pntext\\f0 V.\\tab}"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\pnlvlblt"), std::string::npos);
    EXPECT_NE(rtf.find("\\fcharset2 Symbol;"), std::string::npos);
    // Nothing outside printable ASCII reaches the output.
    for (char c : rtf) {
        EXPECT_TRUE((c >= 0x20 && c < 0x7F) || c == '\r' || c == '\n') << static_cast<int>(c);
    }
}

// Random documents with a fixed seed: every combination the model allows,
// written and read back.
Document randomDocument(std::mt19937& rng) {
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const std::u16string faces[] = {u"Tahoma", u"Courier New", u"Arial", u"Times New Roman"};
    const Colour colours[] = {kAutoColour, makeColour(0, 0, 0), makeColour(255, 0, 0), makeColour(1, 2, 3)};
    const std::u16string pieces[] = {u"abc",    u" ",          u"\t",     u"\v",     u"{",
                                     u"}",      u"\\",         u"\u00E9", u"\u20AC", u"\u0416",
                                     u"\u4E2D", u"\U0001F600", u"\u00A0", u"?",      u";"};
    Document doc;
    const int paragraphs = 1 + pick(6);
    for (int i = 0; i < paragraphs; ++i) {
        Paragraph p;
        p.alignment = static_cast<Alignment>(pick(4));
        p.numbering = static_cast<Numbering>(pick(7));
        p.numberingStart = p.numbering == Numbering::None ? 1 : 1 + pick(30);
        p.leftIndentTwips = pick(5) * 144;
        p.rightIndentTwips = pick(3) * 72;
        p.firstIndentTwips = (pick(5) - 2) * 180;
        const int runs = pick(5);
        for (int r = 0; r < runs; ++r) {
            rtf::Run run;
            if (pick(8) == 0) {
                run.isPicture = true;
                run.picture.kind = pick(2) ? Picture::Kind::Png : Picture::Kind::Jpeg;
                run.picture.data.resize(1 + pick(40));
                for (uint8_t& b : run.picture.data) {
                    b = static_cast<uint8_t>(rng());
                }
                run.picture.widthTwips = pick(3) * 500;
                run.picture.heightTwips = pick(3) * 500;
            } else {
                const int n = 1 + pick(6);
                for (int k = 0; k < n; ++k) {
                    run.text += pieces[pick(static_cast<int>(std::size(pieces)))];
                }
            }
            run.format.face = faces[pick(4)];
            run.format.sizeTwips = 160 + 20 * pick(10);
            run.format.bold = pick(2);
            run.format.italic = pick(2);
            run.format.underline = pick(2);
            run.format.strikeout = pick(2);
            run.format.textColour = colours[pick(4)];
            run.format.backColour = colours[pick(4)];
            // Two text runs in a row with one format are one run once read.
            if (!run.isPicture && !p.runs.empty() && !p.runs.back().isPicture &&
                p.runs.back().format == run.format) {
                run.format.bold = !run.format.bold;
            }
            p.runs.push_back(run);
        }
        doc.paragraphs.push_back(p);
    }
    return doc;
}

TEST(RtfRoundTripTest, RandomDocuments) {
    std::mt19937 rng(20261208);
    for (int i = 0; i < 500; ++i) {
        const Document doc = randomDocument(rng);
        const std::string rtf = WriteRtf(doc);
        const Document back = ReadRtf(rtf);
        ASSERT_EQ(back, doc) << "case " << i << "\nwritten:\n"
                             << rtf << "\nexpected:\n"
                             << describe(doc) << "read:\n"
                             << describe(back);
        // The fast plain-text path sees the same text.
        ASSERT_EQ(BodyToPlainText(CodePage::toUtf16(rtf)), DocumentPlainText(doc)) << rtf;
    }
}

} // namespace
