#include "RtfTestSupport.h"

#include "editor/rtf/PlainText.h"
#include "editor/rtf/RtfReader.h"
#include "editor/rtf/RtfWriter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <random>

using namespace rtf;

namespace {

// Reads `rtf` both ways and checks that the two agree; returns the document.
Document readBothWays(const std::string& rtf) {
    Document doc = ReadRtf(rtf);
    EXPECT_FALSE(doc.paragraphs.empty());
    const std::u16string body = CodePage::toUtf16(rtf);
    if (IsRtfBody(body)) {
        EXPECT_EQ(BodyToPlainText(body), DocumentPlainText(doc));
    }
    return doc;
}

size_t textSize(const Document& doc) {
    size_t n = 0;
    for (const Paragraph& p : doc.paragraphs) {
        for (const rtf::Run& r : p.runs) {
            n += r.text.size() + r.picture.data.size();
        }
    }
    return n;
}

TEST(RtfHostileTest, DeepNesting) {
    const auto start = std::chrono::steady_clock::now();
    // 100,000 groups open, text in the middle, all closed again.
    std::string rtf = "{\\rtf1 a" + std::string(100000, '{') + "\\b deep" + std::string(100000, '}') + "b}";
    Document doc = readBothWays(rtf);
    EXPECT_EQ(DocumentPlainText(doc), u"adeepb");
    // Never closed.
    doc = readBothWays("{\\rtf1 " + std::string(100000, '{') + "x");
    EXPECT_EQ(DocumentPlainText(doc), u"x");
    // Alternating open and close at depth, with a skipped destination inside.
    std::string mixed = "{\\rtf1 ";
    for (int i = 0; i < 50000; ++i) {
        mixed += "{{\\*\\x y}z";
    }
    doc = readBothWays(mixed);
    EXPECT_EQ(DocumentPlainText(doc), std::u16string(50000, u'z'));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST(RtfHostileTest, HugeNumbers) {
    const Document doc = readBothWays(
        "{\\rtf1{\\fonttbl{\\f99999999999999999999 Big;}}{\\colortbl;\\red99999\\green-5\\blue300;}"
        "\\f99999999999999999999\\fs99999999999 \\cf1\\li-99999999999\\fi99999999999\\uc99999999 \\u99999999 "
        "abc}{\\rtf1\\u-99999999 x\\pnstart-5}");
    ASSERT_EQ(doc.paragraphs.size(), 1u);
    const Paragraph& p = doc.paragraphs[0];
    EXPECT_GE(p.leftIndentTwips, -31680);
    EXPECT_LE(p.firstIndentTwips, 31680);
    ASSERT_FALSE(p.runs.empty());
    EXPECT_EQ(p.runs[0].format.sizeTwips, 32760);
    EXPECT_EQ(p.runs[0].format.face, u"Big");
    EXPECT_EQ(p.runs[0].format.textColour, makeColour(255, 0, 255));
    // Over-long control words and parameters are read, not overrun.
    const std::string longWord =
        "{\\rtf1 \\" + std::string(100000, 'a') + "1234 b\\b" + std::string(100000, '9') + " c}";
    EXPECT_EQ(DocumentPlainText(readBothWays(longWord)), u"bc");
}

TEST(RtfHostileTest, BinaryCountsBeyondTheInput) {
    for (const char* rtf :
         {"{\\rtf1 a\\bin2000000000 xyz}", "{\\rtf1 a{\\pict\\pngblip\\bin99999999999 xyz}}",
          "{\\rtf1 a{\\*\\skip\\bin1000000000 }}", "{\\rtf1 a\\bin-5 b}", "{\\rtf1 a\\bin"}) {
        const Document doc = readBothWays(rtf);
        EXPECT_EQ(doc.paragraphs[0].runs.at(0).text.substr(0, 1), u"a") << rtf;
        EXPECT_LT(textSize(doc), 100u) << rtf;
    }
}

TEST(RtfHostileTest, TruncatedEverywhere) {
    // Every prefix of a document that uses most of the reader.
    const std::string rtf =
        "{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fcharset128 "
        "\\'82\\'6c;}}{\\colortbl;\\red1\\green2\\blue3;}"
        "{\\*\\listtable{\\list{\\listlevel\\levelnfc4}\\listid1}}{\\*\\listoverridetable{"
        "\\listoverride\\listid1\\ls1}}"
        "\\pard\\ls1{\\pntext "
        "1.\\tab}{\\*\\pn\\pnlvlbody\\pndec}\\f0\\'93\\'fa\\u-10179?\\u-9047?\\uc2\\u20013\\'82\\'a0"
        "{\\pict\\pngblip\\picwgoal10 89504e47}{\\pict\\jpegblip\\bin2 ab}\\par}";
    for (size_t n = 0; n <= rtf.size(); ++n) {
        readBothWays(rtf.substr(0, n));
    }
}

TEST(RtfHostileTest, MutatedCorpusFiles) {
    // A fuzz-style loop with a fixed seed: truncations and byte mutations of
    // every corpus file. Nothing may crash, hang or blow up, and both ways of
    // reading must agree.
    std::mt19937 rng(4242);
    const char interesting[] = {'{', '}', '\\', '\'', '*', ' ', '0', '9', '-', 'u', 'b', '\0', '\r', '\xff'};
    int cases = 0;
    for (const auto& entry : std::filesystem::directory_iterator(rtftest::corpusDir())) {
        if (entry.path().extension() != ".rtf") {
            continue;
        }
        std::string original = rtftest::readFile(entry.path());
        if (original.size() > 40000) {
            original.resize(40000); // keeps the run short; the start holds the tables
        }
        for (int round = 0; round < 12; ++round) {
            std::string mutated = original;
            const int mutations = 1 + static_cast<int>(rng() % 20);
            for (int m = 0; m < mutations && !mutated.empty(); ++m) {
                const size_t at = rng() % mutated.size();
                switch (rng() % 4) {
                case 0:
                    mutated[at] = static_cast<char>(rng());
                    break;
                case 1:
                    mutated[at] = interesting[rng() % sizeof interesting];
                    break;
                case 2:
                    mutated.erase(at, 1 + rng() % 8);
                    break;
                case 3:
                    mutated.insert(at, 1 + rng() % 4, interesting[rng() % sizeof interesting]);
                    break;
                }
            }
            if (round % 3 == 0 && !mutated.empty()) {
                mutated.resize(rng() % mutated.size());
            }
            const Document doc = readBothWays(mutated);
            // The text can never outgrow the input that holds it.
            EXPECT_LE(textSize(doc), mutated.size()) << entry.path().filename() << " round " << round;
            // Whatever was read can be written and read back the same.
            const std::string written = WriteRtf(doc);
            EXPECT_EQ(ReadRtf(written), doc) << entry.path().filename() << " round " << round << "\n"
                                             << written;
            ++cases;
        }
    }
    EXPECT_GE(cases, 400);
}

TEST(RtfHostileTest, RandomBytes) {
    std::mt19937 rng(99);
    const char alphabet[] = "{}\\'*abu0123456789- \r\n;";
    for (int i = 0; i < 2000; ++i) {
        std::string rtf = "{\\rtf1 ";
        const int n = static_cast<int>(rng() % 300);
        for (int k = 0; k < n; ++k) {
            rtf += rng() % 4 ? alphabet[rng() % (sizeof alphabet - 1)] : static_cast<char>(rng());
        }
        readBothWays(rtf);
    }
}

} // namespace

namespace {

TEST(RtfHostileTest, ManyListsFontsAndColoursStayFast) {
    // Tables as large as the input allows must not make reading or writing
    // quadratic.
    constexpr int kCount = 50000;
    std::string rtf = "{\\rtf1{\\fonttbl";
    for (int i = 0; i < kCount; ++i) {
        rtf += "{\\f" + std::to_string(i) + " F" + std::to_string(i) + ";}";
    }
    rtf += "}{\\colortbl;";
    for (int i = 0; i < kCount; ++i) {
        rtf += "\\red" + std::to_string(i % 256) + "\\green" + std::to_string(i / 256 % 256) + "\\blue7;";
    }
    rtf += "}{\\*\\listtable";
    for (int i = 0; i < kCount; ++i) {
        rtf += "{\\list{\\listlevel\\levelnfc4}\\listid" + std::to_string(i) + "}";
    }
    rtf += "}{\\*\\listoverridetable";
    for (int i = 0; i < kCount; ++i) {
        rtf += "{\\listoverride\\listid" + std::to_string(i) + "\\ls" + std::to_string(i + 1) + "}";
    }
    rtf += "}";
    for (int i = 0; i < kCount; ++i) {
        rtf += "\\pard\\ls" + std::to_string(i + 1) + "\\f" + std::to_string(i) + "\\cf" +
               std::to_string(i + 1) + " x\\par";
    }
    rtf += "}";
    // Processor time, not wall time: the machine running the tests may be busy.
    const std::clock_t start = std::clock();
    const Document doc = ReadRtf(rtf);
    ASSERT_EQ(doc.paragraphs.size(), static_cast<size_t>(kCount));
    EXPECT_EQ(doc.paragraphs.back().numbering, Numbering::LowerLetter);
    EXPECT_EQ(doc.paragraphs.back().runs.at(0).format.face, u"F49999");
    const std::string written = WriteRtf(doc);
    EXPECT_EQ(ReadRtf(written), doc);
    EXPECT_LT(static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC, 10.0);
}

} // namespace

namespace {

TEST(RtfHostileTest, PictureNestedInPictureYieldsNoEmptyPicture) {
    // Found by fuzzing: a picture read inside another picture's group left
    // the outer group to add a second picture without data, which a write
    // and read then lost.
    const std::string rtf = "{\\rtf1 {\\pict\\pngblip {\\fonttbl\\pard {\\pict\\jpegblip a7}} 0102}}";
    const Document doc = readBothWays(rtf);
    int pictures = 0;
    for (const rtf::Run& r : doc.paragraphs.at(0).runs) {
        if (r.isPicture) {
            ++pictures;
            EXPECT_FALSE(r.picture.data.empty());
        }
    }
    EXPECT_LE(pictures, 1);
    EXPECT_EQ(ReadRtf(WriteRtf(doc)), doc);
}

} // namespace
