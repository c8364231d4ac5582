// What the preview shows for a node: the field lines of its template, a blank
// line, then the body, formatted as the body is; and a long body shown a part
// at a time until it is whole.

#include "editor/PreviewComposer.h"
#include "core/CodePage.h"
#include "core/NotesMgr.h"
#include "editor/CNoteEditor.h"
#include "editor/rtf/RtfWriter.h"

#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>

namespace {

std::u16string RtfBody(const rtf::Document& document) {
    return CodePage::toUtf16(rtf::WriteRtf(document), CodePage::kAnsi);
}

rtf::Paragraph Paragraph(std::u16string text, rtf::Alignment alignment = rtf::Alignment::Left,
                         bool bold = false) {
    rtf::Paragraph p;
    p.alignment = alignment;
    rtf::Run run;
    run.text = std::move(text);
    run.format.bold = bold;
    p.runs.push_back(run);
    return p;
}

class PreviewComposerTest : public ::testing::Test {
protected:
    void SetUp() override {
        notes.InstallDefaultTemplates();
        TemplateRecord& gapped = notes.AddTemplate(100);
        gapped.captions = {u"First:", u"", u"Third:"};
        editor.resize(400, 300);
    }

    NoteRecord Note(int32_t templateId, std::array<std::u16string, kFieldCount> values, std::u16string body) {
        NoteRecord note;
        note.isFolder = 0;
        note.templateId = templateId;
        note.fieldValues = std::move(values);
        note.body = std::move(body);
        return note;
    }

    NotesMgr notes;
    CNoteEditor editor{nullptr, true};
    PreviewComposer composer{editor};
};

} // namespace

TEST_F(PreviewComposerTest, FieldLinesOfNonEmptyCaptionsThenABlankLineThenTheBody) {
    struct Case {
        const char* name;
        int32_t templateId;
        std::array<std::u16string, kFieldCount> values;
        std::u16string fields;
        QString shown;
    };
    const Case cases[] = {
        {"no template: the body alone", 0, {u"unused"}, u"", "Hello"},
        {"a template that is gone: the body alone", 4242, {u"unused"}, u"", "Hello"},
        {"an empty caption has no line",
         100,
         {u"1", u"2", u"3"},
         u"First: 1\r\nThird: 3\r\n\r\n",
         "First: 1\nThird: 3\n\nHello"},
        {"an empty value keeps its caption and the space",
         100,
         {u"", u"2", u"3"},
         u"First: \r\nThird: 3\r\n\r\n",
         "First: \nThird: 3\n\nHello"},
        {"a built-in template, its secret values concealed",
         5,
         {u"Orange", u"1234", u"5678"},
         u"Operator: Orange\r\nPIN: \u2022\u2022\u2022\u2022\u2022\u2022\u2022\u2022\r\n"
         u"PUK: \u2022\u2022\u2022\u2022\u2022\u2022\u2022\u2022\r\n\r\n",
         "Operator: Orange\nPIN: \u2022\u2022\u2022\u2022\u2022\u2022\u2022\u2022\n"
         "PUK: \u2022\u2022\u2022\u2022\u2022\u2022\u2022\u2022\n\nHello"},
        {"an empty secret value shows empty",
         5,
         {u"Orange", u"", u""},
         u"Operator: Orange\r\nPIN: \r\nPUK: \r\n\r\n",
         "Operator: Orange\nPIN: \nPUK: \n\nHello"},
    };
    for (const bool rtfBody : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (rtfBody ? ", RTF body" : ", plain body"));
            rtf::Document body;
            body.paragraphs.push_back(Paragraph(u"Hello"));
            const NoteRecord note = Note(c.templateId, c.values, rtfBody ? RtfBody(body) : u"Hello");
            EXPECT_EQ(PreviewFieldText(notes, note), c.fields);
            editor.setPlainText(QStringLiteral("left from before"));
            composer.Show(&notes, &note);
            EXPECT_TRUE(composer.isComplete());
            EXPECT_EQ(editor.toPlainText(), c.shown);
            EXPECT_EQ(editor.textCursor().position(), 0);
            EXPECT_FALSE(editor.textCursor().hasSelection());
        }
    }

    // Revealed, the secret values show as they are.
    const NoteRecord sim = Note(5, {u"Orange", u"1234", u"5678"}, u"Hello");
    EXPECT_EQ(PreviewFieldText(notes, sim, true), u"Operator: Orange\r\nPIN: 1234\r\nPUK: 5678\r\n\r\n");
    composer.setRevealConcealed(true);
    composer.Show(&notes, &sim);
    EXPECT_EQ(editor.toPlainText(), "Operator: Orange\nPIN: 1234\nPUK: 5678\n\nHello");
    composer.setRevealConcealed(false);

    // Nothing to show leaves the preview empty.
    composer.Show(&notes, nullptr);
    EXPECT_TRUE(editor.toPlainText().isEmpty());
}

TEST_F(PreviewComposerTest, FieldLinesArePlainAndTheBodyKeepsItsParagraphFormat) {
    rtf::Document body;
    body.paragraphs.push_back(Paragraph(u"Centred title", rtf::Alignment::Center, true));
    body.paragraphs.push_back(Paragraph(u"Text"));
    const NoteRecord note = Note(100, {u"1", u"", u"3"}, RtfBody(body));
    composer.Show(&notes, &note);

    const QTextDocument& shown = *editor.document();
    ASSERT_EQ(shown.blockCount(), 5);
    for (int line = 0; line < 3; ++line) {
        const QTextBlock block = shown.findBlockByNumber(line);
        EXPECT_FALSE(block.blockFormat().alignment() & Qt::AlignHCenter) << line;
        EXPECT_FALSE(block.begin().atEnd() ? false : block.begin().fragment().charFormat().font().bold())
            << line;
    }
    const QTextBlock title = shown.findBlockByNumber(3);
    EXPECT_EQ(title.text(), QStringLiteral("Centred title"));
    EXPECT_TRUE(title.blockFormat().alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(title.begin().fragment().charFormat().font().bold());
    EXPECT_FALSE(shown.findBlockByNumber(4).blockFormat().alignment() & Qt::AlignHCenter);
}

TEST_F(PreviewComposerTest, LongBodyShowsItsStartAtOnceAndIsWholeOnceIdle) {
    for (const bool rtfBody : {true, false}) {
        SCOPED_TRACE(rtfBody ? "RTF body" : "plain body");
        rtf::Document model;
        for (int i = 0; i < 4000; ++i) {
            const std::u16string line = u"Paragraph number " +
                                        std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) +
                                        u" with enough words to be a line of its own";
            model.paragraphs.push_back(
                Paragraph(line, i % 3 ? rtf::Alignment::Left : rtf::Alignment::Center));
        }
        // Line ends placed where the first part and the first step would cut
        // between their two characters: each must still be one break.
        std::u16string plain(PreviewComposer::kFirstPartChars - 1, u'a');
        plain += u"\r\n";
        plain += std::u16string(PreviewComposer::kStepChars - plain.size() - 1, u'b');
        plain += u"\r\n";
        plain += std::u16string(PreviewComposer::kStepChars, u'c');
        const NoteRecord note = Note(5, {u"Orange"}, rtfBody ? RtfBody(model) : plain);
        CNoteEditor reference(nullptr, true);
        reference.LoadBody(note.body);
        const QString whole = QStringLiteral("Operator: Orange\nPIN: \nPUK: \n\n") + reference.toPlainText();

        composer.Show(&notes, &note);
        EXPECT_FALSE(composer.isComplete());
        const QString start = editor.toPlainText();
        EXPECT_LT(start.size(), whole.size() / 4);
        EXPECT_TRUE(whole.startsWith(start));
        ASSERT_TRUE(QTest::qWaitFor([&] { return composer.isComplete(); }, 10000));
        EXPECT_EQ(editor.toPlainText(), whole);
        EXPECT_EQ(editor.textCursor().position(), 0);
        if (rtfBody) {
            EXPECT_TRUE(editor.document()->findBlockByNumber(4).blockFormat().alignment() & Qt::AlignHCenter);
        }
    }

    // Another node shown meanwhile: what was left of the first is dropped.
    std::u16string longBody(200000, u'x');
    const NoteRecord first = Note(0, {}, longBody);
    const NoteRecord second = Note(0, {}, u"Short");
    composer.Show(&notes, &first);
    ASSERT_FALSE(composer.isComplete());
    composer.Show(&notes, &second);
    EXPECT_TRUE(composer.isComplete());
    QTest::qWait(100);
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("Short"));
}
