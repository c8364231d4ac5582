// The rich-text model through a QTextDocument and back.
#include "editor/RichTextMapping.h"

#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <gtest/gtest.h>

namespace {

rtf::Run textRun(std::u16string text, rtf::CharFormat format = {}) {
    rtf::Run run;
    run.text = std::move(text);
    run.format = std::move(format);
    return run;
}

std::vector<uint8_t> pngBytes(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return {bytes.begin(), bytes.end()};
}

rtf::Document throughQt(const rtf::Document& model) {
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("Tahoma"), 10));
    QTextCursor cursor(&document);
    RichTextMapping::insertDocument(cursor, model, true);
    return RichTextMapping::readDocument(document);
}

TEST(RichTextMapping, CharacterFormatsSurvive) {
    rtf::CharFormat fancy;
    fancy.face = u"Courier New";
    fancy.sizeTwips = 290; // 14.5 pt
    fancy.bold = fancy.italic = fancy.underline = fancy.strikeout = true;
    fancy.textColour = rtf::makeColour(1, 2, 3);
    fancy.backColour = rtf::makeColour(250, 251, 252);
    rtf::CharFormat black;
    black.textColour = rtf::makeColour(0, 0, 0); // black is a colour, not "automatic"
    rtf::Document model;
    model.paragraphs.push_back({});
    model.paragraphs[0].runs = {textRun(u"plain "), textRun(u"fancy", fancy), textRun(u" black", black),
                                textRun(u" tab\there\vline")};
    EXPECT_EQ(throughQt(model), model);
}

TEST(RichTextMapping, ParagraphFormatsAndListsSurvive) {
    rtf::Document model;
    const rtf::Alignment alignments[] = {rtf::Alignment::Left, rtf::Alignment::Center, rtf::Alignment::Right,
                                         rtf::Alignment::Justify};
    for (rtf::Alignment alignment : alignments) {
        rtf::Paragraph p;
        p.alignment = alignment;
        p.leftIndentTwips = 720;
        p.rightIndentTwips = 45;
        p.firstIndentTwips = -360;
        p.runs = {textRun(u"aligned")};
        model.paragraphs.push_back(p);
    }
    const rtf::Numbering kinds[] = {rtf::Numbering::Bullet,      rtf::Numbering::Arabic,
                                    rtf::Numbering::LowerLetter, rtf::Numbering::UpperLetter,
                                    rtf::Numbering::LowerRoman,  rtf::Numbering::UpperRoman};
    for (rtf::Numbering kind : kinds) {
        for (int i = 0; i < 2; ++i) {
            rtf::Paragraph p;
            p.numbering = kind;
            p.numberingStart = kind == rtf::Numbering::Arabic ? 5 : 1;
            p.runs = {textRun(u"item")};
            model.paragraphs.push_back(p);
        }
    }
    model.paragraphs.push_back({}); // an empty last paragraph
    EXPECT_EQ(throughQt(model), model);
}

TEST(RichTextMapping, ParagraphsOfOneKindAndStartShareOneList) {
    rtf::Document model;
    for (int start : {1, 1, 3}) {
        rtf::Paragraph p;
        p.numbering = rtf::Numbering::Arabic;
        p.numberingStart = start;
        p.runs = {textRun(u"n")};
        model.paragraphs.push_back(p);
    }
    QTextDocument document;
    QTextCursor cursor(&document);
    RichTextMapping::insertDocument(cursor, model, true);
    const QTextBlock first = document.begin();
    ASSERT_NE(first.textList(), nullptr);
    EXPECT_EQ(first.textList(), first.next().textList());
    EXPECT_NE(first.textList(), first.next().next().textList());
    EXPECT_EQ(first.textList()->count(), 2);
}

TEST(RichTextMapping, PicturesKeepTheirBytesAndSize) {
    rtf::Document model;
    rtf::Paragraph p;
    rtf::Run picture;
    picture.isPicture = true;
    picture.picture.kind = rtf::Picture::Kind::Png;
    picture.picture.data = pngBytes(4, 3);
    picture.picture.widthTwips = 600;
    picture.picture.heightTwips = 450;
    rtf::Run second = picture;
    second.picture.widthTwips = second.picture.heightTwips = 0; // natural size
    p.runs = {textRun(u"before "), picture, second, textRun(u" after")};
    model.paragraphs.push_back(p);
    EXPECT_EQ(throughQt(model), model);
}

TEST(RichTextMapping, UnformattedTextReadsAsTheDocumentDefault) {
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("Tahoma"), 10));
    QTextCursor(&document).insertText(QStringLiteral("one\ntwo"));
    const rtf::Document model = RichTextMapping::readDocument(document);
    ASSERT_EQ(model.paragraphs.size(), 2u);
    ASSERT_EQ(model.paragraphs[1].runs.size(), 1u);
    EXPECT_EQ(model.paragraphs[1].runs[0].text, u"two");
    EXPECT_EQ(model.paragraphs[1].runs[0].format, rtf::CharFormat{});
}

TEST(RichTextMapping, InsertingMidParagraphContinuesTheBlock) {
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("AB"));
    cursor.setPosition(1);
    rtf::Document model;
    model.paragraphs.resize(2);
    model.paragraphs[0].runs = {textRun(u"x")};
    model.paragraphs[1].alignment = rtf::Alignment::Right;
    model.paragraphs[1].runs = {textRun(u"y")};
    RichTextMapping::insertDocument(cursor, model, false);
    EXPECT_EQ(document.toPlainText(), QStringLiteral("Ax\nyB"));
    EXPECT_EQ(document.begin().next().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
}

} // namespace

TEST(RichTextMapping, InsertingInPartsOfAnySizeGivesTheWholeDocument) {
    // One list running across many parts, a run long enough to be cut,
    // surrogate pairs at every cut, a picture and empty paragraphs.
    rtf::Document model;
    rtf::CharFormat bold;
    bold.bold = true;
    for (int i = 0; i < 40; ++i) {
        rtf::Paragraph p;
        p.numbering = i < 30 ? rtf::Numbering::Arabic : rtf::Numbering::None;
        p.alignment = i % 4 == 0 ? rtf::Alignment::Center : rtf::Alignment::Left;
        if (i % 9 != 8)
            p.runs = {textRun(u"item " + std::u16string(1, static_cast<char16_t>(u'a' + i % 26))),
                      textRun(u" \U0001F600\U0001F600 bold", bold)};
        model.paragraphs.push_back(p);
    }
    rtf::Run picture;
    picture.isPicture = true;
    picture.picture.data = pngBytes(3, 2);
    model.paragraphs[5].runs.push_back(picture);
    std::u16string longText;
    for (int i = 0; i < 300; ++i)
        longText += u"x\U0001F600";
    model.paragraphs[12].runs.push_back(textRun(longText));

    const rtf::Document whole = throughQt(model);
    for (size_t budget : {size_t{1}, size_t{2}, size_t{7}, size_t{100}, size_t{5000}}) {
        SCOPED_TRACE(budget);
        QTextDocument document;
        document.setDefaultFont(QFont(QStringLiteral("Tahoma"), 10));
        QTextCursor cursor(&document);
        RichTextMapping::InsertPosition position;
        int parts = 1;
        while (!RichTextMapping::insertPart(cursor, model, true, position, budget))
            ++parts;
        EXPECT_GT(parts, budget < 5000 ? 1 : 0);
        EXPECT_EQ(RichTextMapping::readDocument(document), whole);
        // One list, numbered on across the parts.
        EXPECT_EQ(document.begin().next().next().textList(), document.begin().textList());
        EXPECT_EQ(document.findBlockByNumber(29).textList()->itemNumber(document.findBlockByNumber(29)), 29);
    }
}
