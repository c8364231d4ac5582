#include "RtfTestSupport.h"

#include "editor/rtf/PlainText.h"
#include "editor/rtf/RtfReader.h"
#include "editor/rtf/RtfWriter.h"

#include <gtest/gtest.h>

#include <regex>

using namespace rtf;
using namespace rtftest;

namespace {

std::u16string corpusText(const std::string& name) {
    return DocumentPlainText(ReadRtf(corpusFile(name)));
}

std::vector<std::string> lines(const std::string& s) {
    std::vector<std::string> out;
    std::istringstream in(s);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        out.push_back(line);
    }
    return out;
}

std::u16string collapseSpace(const std::u16string& s) {
    std::u16string out;
    bool space = false;
    for (char16_t c : s) {
        const bool isSpace = c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v';
        if (isSpace) {
            space = true;
            continue;
        }
        if (space && !out.empty()) {
            out += u' ';
        }
        space = false;
        out += c;
    }
    return out;
}

// Text of rendered HTML: tags dropped, the entities the renderers use decoded.
std::u16string htmlText(const std::string& html) {
    // By hand: std::regex recurses per character and overflows the stack on
    // the large inline images of some pages.
    std::string text;
    bool inTag = false;
    for (char c : html) {
        if (c == '<') {
            inTag = true;
            text += ' ';
        } else if (c == '>') {
            inTag = false;
        } else if (!inTag) {
            text += c;
        }
    }
    const std::pair<std::string, std::string> entities[] = {{"&lt;", "<"},          {"&gt;", ">"},
                                                            {"&quot;", "\""},       {"&#39;", "'"},
                                                            {"&nbsp;", "\xC2\xA0"}, {"&amp;", "&"}};
    for (const auto& [from, to] : entities) {
        for (size_t pos = text.find(from); pos != std::string::npos; pos = text.find(from, pos + to.size())) {
            text.replace(pos, from.size(), to);
        }
    }
    return fromUtf8(text);
}

// Text of a pandoc AST: the Str contents, with Haskell's decimal escapes.
std::u16string nativeText(std::string native) {
    // An image's description is not text of the document.
    native = std::regex_replace(native, std::regex("Image[\\s\\S]*?\\)\\s*\\[[^\\]]*\\]"), "");
    std::u16string out;
    const std::regex str("Str \"((?:[^\"\\\\]|\\\\.|\\\\[0-9]+)*)\"");
    for (auto it = std::sregex_iterator(native.begin(), native.end(), str); it != std::sregex_iterator();
         ++it) {
        const std::string s = (*it)[1];
        for (size_t i = 0; i < s.size(); ++i) {
            if (s[i] != '\\') {
                size_t j = i;
                while (j < s.size() && s[j] != '\\') {
                    ++j;
                }
                out += fromUtf8(s.substr(i, j - i));
                i = j - 1;
                continue;
            }
            ++i;
            if (i < s.size() && isdigit(static_cast<unsigned char>(s[i]))) {
                unsigned long code = 0;
                while (i < s.size() && isdigit(static_cast<unsigned char>(s[i]))) {
                    code = code * 10 + (s[i++] - '0');
                }
                if (i < s.size() && s[i] == '\\' && i + 1 < s.size() && s[i + 1] == '&') {
                    ++i;
                } else {
                    --i;
                }
                if (code >= 0x10000) {
                    code -= 0x10000;
                    out += static_cast<char16_t>(0xD800 + (code >> 10));
                    out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
                } else {
                    out += static_cast<char16_t>(code);
                }
            } else if (i < s.size()) {
                out += s[i] == 'n' ? u'\n' : static_cast<char16_t>(s[i]);
            }
        }
    }
    return out;
}

// The decoded characters of a parser event trace.
std::u16string traceChars(const std::string& xml) {
    std::u16string out;
    const std::regex chars("<chars>([^<]*)</chars>");
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), chars); it != std::sregex_iterator(); ++it) {
        out += htmlText((*it)[1]);
    }
    return out;
}

std::vector<std::string> filesWithSuffix(const std::string& suffix) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(corpusDir())) {
        const std::string name = entry.path().filename().string();
        if (name.size() > suffix.size() &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
            names.push_back(name.substr(0, name.size() - suffix.size()));
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(RtfCorpusTest, PlainTextExpectations) {
    const auto names = filesWithSuffix(".expected.txt");
    ASSERT_EQ(names.size(), 3u);
    for (const std::string& name : names) {
        EXPECT_EQ(toUtf8(withoutSpace(corpusText(name + ".rtf"))),
                  toUtf8(withoutSpace(fromUtf8(corpusFile(name + ".expected.txt")))))
            << name;
    }
}

TEST(RtfCorpusTest, ExpectedSubstrings) {
    const auto names = filesWithSuffix(".expected-substrings.txt");
    ASSERT_EQ(names.size(), 7u);
    for (const std::string& name : names) {
        std::u16string text = corpusText(name + ".rtf");
        if (name.find("TableCellSeparation") != std::string::npos) {
            text = collapseSpace(text);
        }
        for (const std::string& line : lines(corpusFile(name + ".expected-substrings.txt"))) {
            if (line.empty()) {
                continue;
            }
            EXPECT_NE(text.find(fromUtf8(line)), std::u16string::npos)
                << name << ": " << line << "\nin: " << toUtf8(text);
        }
    }
    EXPECT_EQ(corpusText("tika-testRTFUnicodeUCNControlWordCharacterDoubling.rtf").find(u"年年"),
              std::u16string::npos);
}

TEST(RtfCorpusTest, RenderedHtmlText) {
    const auto names = filesWithSuffix(".expected.html");
    ASSERT_EQ(names.size(), 9u);
    for (const std::string& name : names) {
        EXPECT_EQ(toUtf8(withoutSpace(corpusText(name + ".rtf"))),
                  toUtf8(withoutSpace(htmlText(corpusFile(name + ".expected.html")))))
            << name;
    }
}

TEST(RtfCorpusTest, PandocText) {
    const auto names = filesWithSuffix(".native");
    ASSERT_EQ(names.size(), 5u);
    for (const std::string& name : names) {
        EXPECT_EQ(toUtf8(withoutSpace(corpusText(name + ".rtf"))),
                  toUtf8(withoutSpace(nativeText(corpusFile(name + ".native")))))
            << name;
    }
}

TEST(RtfCorpusTest, EventTraceCharacters) {
    const auto names = filesWithSuffix(".expected.xml");
    ASSERT_EQ(names.size(), 7u);
    for (const std::string& name : names) {
        // Text split over several events joins up once spaces are gone.
        const std::u16string trace = withoutSpace(traceChars(corpusFile(name + ".expected.xml")));
        const std::u16string text = collapseSpace(corpusText(name + ".rtf"));
        EXPECT_FALSE(text.empty()) << name;
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find(u' ', start);
            if (end == std::u16string::npos) {
                end = text.size();
            }
            const std::u16string word = text.substr(start, end - start);
            EXPECT_NE(trace.find(word), std::u16string::npos) << name << ": " << toUtf8(word);
            start = end + 1;
        }
    }
}

} // namespace

namespace {

// The paragraph whose text begins with `start`, or nullptr.
const Paragraph* findParagraph(const Document& doc, std::u16string_view start) {
    for (const Paragraph& p : doc.paragraphs) {
        std::u16string text;
        for (const rtf::Run& r : p.runs) {
            text += r.text;
        }
        if (text.rfind(start, 0) == 0) {
            return &p;
        }
    }
    return nullptr;
}

TEST(RtfCorpusFormattingTest, WordPadStyles) {
    const Document doc = ReadRtf(corpusFile("rtfparserkit-testStyles.rtf"));
    ASSERT_EQ(doc.paragraphs.size(), 10u) << describe(doc);
    const auto fmt = [&](size_t i) { return doc.paragraphs[i].runs.at(0).format; };
    EXPECT_FALSE(fmt(0).bold || fmt(0).italic);
    EXPECT_TRUE(fmt(1).italic && !fmt(1).bold);
    EXPECT_TRUE(fmt(2).bold && !fmt(2).italic);
    EXPECT_EQ(fmt(4).face, u"Calibri");
    EXPECT_EQ(fmt(4).sizeTwips, 220);
    EXPECT_EQ(fmt(5).face, u"Arial");
    EXPECT_EQ(fmt(7).sizeTwips, 240);
    EXPECT_TRUE(doc.paragraphs[9].runs.empty());
}

TEST(RtfCorpusFormattingTest, ColoursAndHighlight) {
    const Document doc = ReadRtf(corpusFile("rtfjs-colors.rtf"));
    const Paragraph* coloured = findParagraph(doc, u"Colored Line");
    const Paragraph* highlighted = findParagraph(doc, u"Highlighted Line");
    const Paragraph* both = findParagraph(doc, u"Colored & Highlighted");
    const Paragraph* normal = findParagraph(doc, u"Normal Line 1");
    ASSERT_TRUE(coloured && highlighted && both && normal) << describe(doc);
    EXPECT_EQ(coloured->runs.at(0).format.textColour, makeColour(0, 255, 0));
    EXPECT_EQ(highlighted->runs.at(0).format.backColour, makeColour(255, 0, 0));
    EXPECT_EQ(both->runs.at(0).format.textColour, makeColour(255, 255, 255));
    EXPECT_EQ(both->runs.at(0).format.backColour, makeColour(0, 0, 255));
    EXPECT_EQ(normal->runs.at(0).format.backColour, kAutoColour);
}

TEST(RtfCorpusFormattingTest, Alignment) {
    const Document doc = ReadRtf(corpusFile("rtfjs-paragraph-properties.rtf"));
    const Paragraph* right = findParagraph(doc, u"This is the fourth paragraph");
    ASSERT_TRUE(right) << describe(doc);
    EXPECT_EQ(right->alignment, Alignment::Right);
    int centred = 0;
    for (const Paragraph& p : doc.paragraphs) {
        centred += p.alignment == Alignment::Center;
    }
    EXPECT_GE(centred, 1) << describe(doc);
}

TEST(RtfCorpusFormattingTest, ListsInBothForms) {
    const Document richEdit = ReadRtf(corpusFile("rtfpipe-Issue53.rtf"));
    ASSERT_EQ(richEdit.paragraphs.size(), 4u) << describe(richEdit);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(richEdit.paragraphs[i].numbering, Numbering::Bullet) << i;
    }
    EXPECT_EQ(richEdit.paragraphs[3].numbering, Numbering::Arabic);

    const Document textEdit = ReadRtf(corpusFile("pandoc-list_simple.rtf"));
    ASSERT_EQ(textEdit.paragraphs.size(), 4u) << describe(textEdit);
    for (const Paragraph& p : textEdit.paragraphs) {
        EXPECT_EQ(p.numbering, Numbering::Bullet) << describe(textEdit);
    }
    const Document legacy = ReadRtf(corpusFile("pandoc-list_legacy.rtf"));
    ASSERT_EQ(legacy.paragraphs.size(), 6u) << describe(legacy);
    EXPECT_EQ(legacy.paragraphs[0].numbering, Numbering::Arabic);
    EXPECT_EQ(legacy.paragraphs[5].numbering, Numbering::Bullet);

    // About 70 bullet items in a Chinese document.
    const Document notes = ReadRtf(corpusFile("rtfpipe-RtfParserTest_8.rtf"));
    int bullets = 0;
    for (const Paragraph& p : notes.paragraphs) {
        bullets += p.numbering == Numbering::Bullet;
    }
    EXPECT_GE(bullets, 60);
}

TEST(RtfCorpusFormattingTest, Pictures) {
    const auto pictures = [](const Document& doc) {
        std::vector<Picture> out;
        for (const Paragraph& p : doc.paragraphs) {
            for (const rtf::Run& r : p.runs) {
                if (r.isPicture) {
                    out.push_back(r.picture);
                }
            }
        }
        return out;
    };
    // The same PNG as hex and as \bin data.
    const auto hex = pictures(ReadRtf(corpusFile("rtfjs-simplepng.rtf")));
    const auto bin = pictures(ReadRtf(corpusFile("rtfjs-simplepngbin.rtf")));
    ASSERT_EQ(hex.size(), 1u);
    ASSERT_EQ(bin.size(), 1u);
    EXPECT_EQ(hex[0].kind, Picture::Kind::Png);
    ASSERT_GE(hex[0].data.size(), 8u);
    EXPECT_EQ(hex[0].data[0], 0x89);
    EXPECT_EQ(hex[0].data[1], 'P');
    EXPECT_EQ(hex[0].data, bin[0].data);
    // A JPEG after a \bin without a count: the hex still counts.
    const auto jpeg = pictures(ReadRtf(corpusFile("pandoc-image.rtf")));
    ASSERT_EQ(jpeg.size(), 1u);
    EXPECT_EQ(jpeg[0].kind, Picture::Kind::Jpeg);
    EXPECT_EQ(jpeg[0].data.at(0), 0xFF);
    EXPECT_EQ(jpeg[0].data.at(1), 0xD8);
    EXPECT_EQ(jpeg[0].widthTwips, 2880);
    // Metafiles are not kept.
    EXPECT_TRUE(pictures(ReadRtf(corpusFile("rtfjs-simplepict.rtf"))).empty());
}

TEST(RtfCorpusFormattingTest, FontNamesInTheirCodePages) {
    EXPECT_EQ(
        ReadRtf(corpusFile("rtfparserkit-testMultiByteHex.rtf")).paragraphs.at(0).runs.at(0).format.face,
        u"ＭＳ Ｐゴシック");
    EXPECT_EQ(
        ReadRtf(corpusFile("rtfparserkit-testKoreanEncoding.rtf")).paragraphs.at(0).runs.at(0).format.face,
        u"맑은 고딕");
}

} // namespace

namespace {

TEST(RtfCorpusFormattingTest, EveryCorpusDocumentSurvivesWriteAndRead) {
    int checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpusDir())) {
        if (entry.path().extension() != ".rtf") {
            continue;
        }
        const Document doc = ReadRtf(readFile(entry.path()));
        const Document back = ReadRtf(WriteRtf(doc));
        EXPECT_EQ(back, doc) << entry.path().filename() << "\n"
                             << describe(doc) << "read back:\n"
                             << describe(back);
        ++checked;
    }
    EXPECT_GE(checked, 40);
}

} // namespace
