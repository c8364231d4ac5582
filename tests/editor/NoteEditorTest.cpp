// The note editor on a real widget: bodies in and out, the starter text, links.
#include "EditorTestSupport.h"

#include "core/CodePage.h"
#include "core/Edition.h"
#include "editor/CNoteEditor.h"
#include "editor/EditorTexts.h"
#include "editor/RichTextMapping.h"
#include "editor/rtf/RtfReader.h"
#include "editor/rtf/RtfWriter.h"
#include "gui/ShellOpen.h"

#include <QApplication>
#include <QBuffer>
#include <QContextMenuEvent>
#include <QImage>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>
#include <set>

using namespace editortest;

namespace {

rtf::Document storedModel(const CNoteEditor& editor) {
    const std::u16string body = editor.StoreBody();
    return rtf::ReadRtf(CodePage::fromUtf16(body, CodePage::kAnsi));
}

// Records what ShellOpen was asked to open, for the life of the object.
class ShellScript {
public:
    ShellScript() {
        m_previous = SetShellOpenHandler([this](const QString& target) {
            opened.push_back(target);
            return true;
        });
    }
    ~ShellScript() { SetShellOpenHandler(m_previous); }
    QStringList opened;

private:
    ShellOpenHandler m_previous;
};

// A shown editor of a useful size, so positions map to points.
struct ShownEditor {
    explicit ShownEditor(bool readOnly = false) : editor(nullptr, readOnly) {
        editor.resize(500, 300);
        editor.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&editor));
    }
    // The viewport point in the middle of the character at `position`.
    QPoint pointAt(int position) {
        QTextCursor cursor(editor.document());
        cursor.setPosition(position);
        const QRect left = editor.cursorRect(cursor);
        cursor.setPosition(position + 1);
        const QRect right = editor.cursorRect(cursor);
        return QPoint((left.x() + right.x()) / 2, left.center().y());
    }
    CNoteEditor editor;
};

TEST(NoteEditor, CreatedWithItsIdAndDefaultFormat) {
    CNoteEditor editable(nullptr, false);
    CNoteEditor readOnly(nullptr, true);
    EXPECT_EQ(editable.objectName(), QStringLiteral("1093"));
    EXPECT_FALSE(editable.isReadOnly());
    EXPECT_TRUE(readOnly.isReadOnly());
    const QFont font = editable.document()->defaultFont();
    EXPECT_EQ(font.family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(font.pointSize(), 10);
    EXPECT_FALSE(font.bold());
    // Typed text is stored in that format.
    QTest::keyClicks(&editable, QStringLiteral("typed"));
    const rtf::Document model = storedModel(editable);
    ASSERT_FALSE(model.paragraphs.empty());
    ASSERT_FALSE(model.paragraphs[0].runs.empty());
    EXPECT_EQ(model.paragraphs[0].runs[0].text, u"typed");
    EXPECT_EQ(model.paragraphs[0].runs[0].format, rtf::CharFormat{});
    // A loaded plain body, and text typed after it, keep the default format too.
    editable.LoadBody(u"plain");
    editable.moveCursor(QTextCursor::End);
    QTest::keyClicks(&editable, QStringLiteral(" more"));
    const rtf::Document loaded = storedModel(editable);
    ASSERT_EQ(loaded.paragraphs[0].runs.size(), 1u);
    EXPECT_EQ(loaded.paragraphs[0].runs[0].text, u"plain more");
    EXPECT_EQ(loaded.paragraphs[0].runs[0].format, rtf::CharFormat{});
}

TEST(NoteEditor, RtfMarkerCountsOnlyInTheFirstTenCharacters) {
    CNoteEditor editor(nullptr, false);
    const std::u16string late = u"0123456789{\\rtf1 not rich}";
    EXPECT_FALSE(CNoteEditor::IsRtfBody(late));
    editor.LoadBody(late);
    EXPECT_EQ(editor.toPlainText().toStdU16String(), late);

    EXPECT_TRUE(CNoteEditor::IsRtfBody(u"{\\RTF1\\ANSI Capital}"));
    editor.LoadBody(u"{\\RTF1\\ANSI Capital}");
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("Capital"));

    EXPECT_TRUE(CNoteEditor::IsRtfBody(u"{\\urtf1 x}"));
    EXPECT_TRUE(CNoteEditor::IsRtfBody(u"  {\\pwd1 x}"));
    EXPECT_FALSE(CNoteEditor::IsRtfBody(u"{\\rt"));
}

TEST(NoteEditor, PlainBodyLineEndsBecomeParagraphs) {
    CNoteEditor editor(nullptr, false);
    editor.LoadBody(u"one\r\ntwo\rthree\nfour");
    EXPECT_EQ(editor.document()->blockCount(), 4);
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("one\ntwo\nthree\nfour"));
    // Unicode text goes in unchanged.
    editor.LoadBody(u"Grüße Жж €");
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("Grüße Жж €"));
    // A stored body is always RTF, and keeps the characters.
    const std::u16string stored = editor.StoreBody();
    EXPECT_TRUE(CNoteEditor::IsRtfBody(stored));
    CNoteEditor again(nullptr, false);
    again.LoadBody(stored);
    EXPECT_EQ(again.toPlainText(), QStringLiteral("Grüße Жж €"));
}

TEST(NoteEditor, LoadingAtTheSelectionReplacesOnlyIt) {
    CNoteEditor editor(nullptr, false);
    editor.LoadBody(u"Hello world!");
    QTextCursor cursor(editor.document());
    cursor.setPosition(6);
    cursor.setPosition(11, QTextCursor::KeepAnchor);
    editor.setTextCursor(cursor);
    editor.LoadBody(u"{\\rtf1\\ansi {\\b there}}", true);
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("Hello there!"));
    const rtf::Document model = storedModel(editor);
    ASSERT_EQ(model.paragraphs.size(), 1u);
    ASSERT_EQ(model.paragraphs[0].runs.size(), 3u);
    EXPECT_FALSE(model.paragraphs[0].runs[0].format.bold);
    EXPECT_EQ(model.paragraphs[0].runs[1].text, u"there");
    EXPECT_TRUE(model.paragraphs[0].runs[1].format.bold);

    cursor.setPosition(0);
    cursor.setPosition(5, QTextCursor::KeepAnchor);
    editor.setTextCursor(cursor);
    editor.LoadBody(u"Bye", true);
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("Bye there!"));
    // Both inserts can be undone; a whole load starts a new history.
    editor.undo();
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("Hello there!"));
    editor.LoadBody(u"fresh");
    EXPECT_FALSE(editor.document()->isUndoAvailable());
}

TEST(NoteEditor, StoringWithoutAnEditKeepsTheFormatting) {
    rtf::Document model;
    rtf::Paragraph title;
    title.alignment = rtf::Alignment::Center;
    rtf::Run run;
    run.text = u"Title";
    run.format.face = u"Courier New";
    run.format.sizeTwips = 480;
    run.format.bold = true;
    run.format.textColour = rtf::makeColour(200, 0, 0);
    title.runs.push_back(run);
    model.paragraphs.push_back(title);
    for (int i = 0; i < 3; ++i) {
        rtf::Paragraph item;
        item.numbering = i < 2 ? rtf::Numbering::LowerRoman : rtf::Numbering::Bullet;
        item.leftIndentTwips = 720;
        item.firstIndentTwips = -360;
        rtf::Run text;
        text.text = u"item \u20AC\u0416";
        text.format.italic = true;
        text.format.backColour = rtf::makeColour(255, 255, 0);
        item.runs.push_back(text);
        model.paragraphs.push_back(item);
    }
    const std::string rtfText = rtf::WriteRtf(model);
    CNoteEditor editor(nullptr, false);
    editor.LoadBody(CodePage::toUtf16(rtfText, CodePage::kAnsi));
    const rtf::Document expected = rtf::ReadRtf(rtfText);
    EXPECT_EQ(storedModel(editor), expected);
    // And again: a second cycle changes nothing.
    CNoteEditor second(nullptr, false);
    second.LoadBody(editor.StoreBody());
    EXPECT_EQ(second.StoreBody(), editor.StoreBody());
}

TEST(NoteEditor, CopyAndPasteKeepFormattingAndPictures) {
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    rtf::Document model;
    model.paragraphs.resize(1);
    rtf::Run bold;
    bold.text = u"bold";
    bold.format.bold = true;
    rtf::Run picture;
    picture.isPicture = true;
    picture.picture.data.assign(png.begin(), png.end());
    picture.picture.widthTwips = 300;
    picture.picture.heightTwips = 200;
    rtf::Run tail;
    tail.text = u" end";
    model.paragraphs[0].runs = {bold, picture, tail};

    CNoteEditor from(nullptr, false);
    from.LoadBody(CodePage::toUtf16(rtf::WriteRtf(model), CodePage::kAnsi));
    from.selectAll();
    from.copy();
    CNoteEditor to(nullptr, false);
    to.LoadBody(u"[]");
    QTextCursor cursor(to.document());
    cursor.setPosition(1);
    to.setTextCursor(cursor);
    ASSERT_TRUE(to.canPaste());
    to.paste();
    const rtf::Document pasted = storedModel(to);
    ASSERT_EQ(pasted.paragraphs.size(), 1u);
    const std::vector<rtf::Run>& runs = pasted.paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs[0].text, u"[");
    EXPECT_EQ(runs[1].text, u"bold");
    EXPECT_TRUE(runs[1].format.bold);
    ASSERT_TRUE(runs[2].isPicture);
    EXPECT_EQ(runs[2].picture, picture.picture);
    EXPECT_EQ(runs[3].text, u" end]");
}

TEST(NoteEditor, BodyToPlainTextAndTheStarterText) {
    EXPECT_EQ(CNoteEditor::BodyToPlainText(u"just text\r\n"), u"just text\r\n");
    EXPECT_EQ(CNoteEditor::BodyToPlainText(u"{\\rtf1\\ansi {\\b bold} text}"), u"bold text");

    const std::u16string starter = CNoteEditor::LoadStarterText();
    EXPECT_TRUE(CNoteEditor::IsRtfBody(starter));
    EXPECT_NE(starter.find(u"\\ansicpg1251"), std::u16string::npos);
    CNoteEditor editor(nullptr, false);
    editor.LoadBody(starter);
    const rtf::Document model = storedModel(editor);
    std::set<rtf::Colour> colours;
    for (const rtf::Paragraph& p : model.paragraphs) {
        for (const rtf::Run& r : p.runs) {
            EXPECT_EQ(r.format.face, u"Tahoma");
            EXPECT_EQ(r.format.sizeTwips, 160);
            colours.insert(r.format.textColour);
        }
    }
    EXPECT_EQ(colours.size(), 2u);
    ASSERT_EQ(editor.links().size(), 2u);
    EXPECT_TRUE(editor.linkText(editor.links()[0]).startsWith(QStringLiteral("http://")));
    EXPECT_TRUE(editor.linkText(editor.links()[1]).startsWith(QStringLiteral("mailto:")));
    const QString text = editor.toPlainText();
    EXPECT_TRUE(text.contains(QStringLiteral("spelling")));
    EXPECT_TRUE(text.contains(QStringLiteral("bold, italic, underline")));
}

TEST(NoteEditor, DetectedLinksAreShownButNotStored) {
    ShownEditor shown;
    CNoteEditor& editor = shown.editor;
    editor.LoadBody(u"First line\r\nvisit http://example.com/x now");
    ASSERT_EQ(editor.links().size(), 1u);
    const LinkRange link = editor.links()[0];
    EXPECT_EQ(editor.linkText(link), QStringLiteral("http://example.com/x"));
    // Document positions: the link's characters are where the range says.
    QTextCursor cursor(editor.document());
    cursor.setPosition(static_cast<int>(link.start));
    cursor.setPosition(static_cast<int>(link.start + link.length), QTextCursor::KeepAnchor);
    EXPECT_EQ(cursor.selectedText(), QStringLiteral("http://example.com/x"));
    ASSERT_EQ(editor.extraSelections().size(), 1);
    EXPECT_TRUE(editor.extraSelections()[0].format.fontUnderline());

    for (const rtf::Paragraph& p : storedModel(editor).paragraphs) {
        for (const rtf::Run& r : p.runs) {
            EXPECT_FALSE(r.format.underline);
            EXPECT_EQ(r.format.textColour, rtf::kAutoColour);
        }
    }
    // Typing finds links again shortly after.
    editor.moveCursor(QTextCursor::End);
    QTest::keyClicks(&editor, QStringLiteral(" www.second.example"));
    QTest::qWait(CNoteEditor::kRepaintDelayMs * 4);
    EXPECT_EQ(editor.links().size(), 2u);
}

TEST(NoteEditor, OnlyLinksInViewGetTheLinkLook) {
    ShownEditor shown;
    std::u16string body;
    for (int i = 0; i < 2000; ++i)
        body +=
            u"line http://example.com/" + std::u16string(1, static_cast<char16_t>(u'a' + i % 26)) + u"\r\n";
    shown.editor.LoadBody(body);
    ASSERT_EQ(shown.editor.links().size(), 2000u);
    const qsizetype inView = shown.editor.extraSelections().size();
    EXPECT_GT(inView, 0);
    EXPECT_LT(inView, 200);
    shown.editor.moveCursor(QTextCursor::End);
    shown.editor.ensureCursorVisible();
    const QList<QTextEdit::ExtraSelection> atEnd = shown.editor.extraSelections();
    ASSERT_FALSE(atEnd.isEmpty());
    EXPECT_EQ(atEnd.back().cursor.selectionEnd(),
              static_cast<int>(shown.editor.links().back().start + shown.editor.links().back().length));
}

TEST(NoteEditor, ClickingALinkOpensIt) {
    ShellScript shell;
    ShownEditor shown;
    shown.editor.LoadBody(u"plain words then mailto:me@example.com end");
    ASSERT_EQ(shown.editor.links().size(), 1u);
    const int inside = static_cast<int>(shown.editor.links()[0].start) + 3;
    QTest::mouseClick(shown.editor.viewport(), Qt::LeftButton, {}, shown.pointAt(inside));
    ASSERT_EQ(shell.opened.size(), 1);
    EXPECT_EQ(shell.opened[0], QStringLiteral("mailto:me@example.com"));
    // A click on other text opens nothing.
    QTest::mouseClick(shown.editor.viewport(), Qt::LeftButton, {}, shown.pointAt(2));
    EXPECT_EQ(shell.opened.size(), 1);
}

TEST(NoteEditor, HoldingThePressOpensTheMenuOnlyOnTheHandheld) {
    ShellScript shell;
    MenuScript menu([](QMenu&, int) { return nullptr; });
    ShownEditor shown;
    shown.editor.LoadBody(u"hold here or on http://example.net please");
    const QPoint onText = shown.pointAt(2);
    const QPoint onLink = shown.pointAt(static_cast<int>(shown.editor.links()[0].start) + 4);
    for (const QPoint& at : {onText, onLink}) {
        QTest::mousePress(shown.editor.viewport(), Qt::LeftButton, {}, at);
        QTest::qWait(CNoteEditor::kHoldDelayMs + 150);
        QTest::mouseRelease(shown.editor.viewport(), Qt::LeftButton, {}, at);
    }
    if constexpr (kHandheld) {
        // Both holds open the menu where the press was; the held link is not opened.
        ASSERT_EQ(menu.menus.size(), 2u);
        EXPECT_EQ(menu.points[0], shown.editor.viewport()->mapToGlobal(onText));
        EXPECT_TRUE(shell.opened.isEmpty());
        // A short tap on the link opens it.
        QTest::mouseClick(shown.editor.viewport(), Qt::LeftButton, {}, onLink);
        EXPECT_EQ(shell.opened, QStringList{QStringLiteral("http://example.net")});
    } else {
        // The desktop opens its menu from the context-menu event; the press on the link opened it.
        EXPECT_TRUE(menu.menus.empty());
        EXPECT_EQ(shell.opened, QStringList{QStringLiteral("http://example.net")});
    }
}

TEST(NoteEditor, RightClickOnALinkShowsTheMenu) {
    ShellScript shell;
    MenuScript menu([](QMenu&, int) { return nullptr; });
    ShownEditor shown;
    shown.editor.LoadBody(u"go http://example.org now");
    const QPoint at = shown.pointAt(static_cast<int>(shown.editor.links()[0].start) + 2);
    QTest::mousePress(shown.editor.viewport(), Qt::RightButton, {}, at);
    QTest::mouseRelease(shown.editor.viewport(), Qt::RightButton, {}, at);
    EXPECT_TRUE(shell.opened.isEmpty());
    menu.menus.clear();
    menu.points.clear();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, shown.editor.viewport()->mapToGlobal(at));
    QApplication::sendEvent(shown.editor.viewport(), &event);
    EXPECT_TRUE(shell.opened.isEmpty());
    ASSERT_EQ(menu.menus.size(), 1u);
    EXPECT_NE(findShown(menu.menus[0], QStringLiteral("Check Spelling")), nullptr);
    EXPECT_EQ(menu.points[0], shown.editor.viewport()->mapToGlobal(at));
}

TEST(NoteEditor, ReadOnlyEditorOffersCopyAndSelectAll) {
    ShownEditor shown(true);
    shown.editor.LoadBody(u"read only text");
    MenuScript menu(QStringLiteral("Select All"));
    shown.editor.ShowContextMenu(QPoint(10, 10));
    ASSERT_EQ(menu.menus.size(), 1u);
    ASSERT_EQ(menu.menus[0].size(), 2u);
    EXPECT_EQ(menu.menus[0][0].path, QStringLiteral("Copy"));
    EXPECT_EQ(menu.menus[0][1].path, QStringLiteral("Select All"));
    EXPECT_EQ(shown.editor.textCursor().selectedText(), QStringLiteral("read only text"));
    QTest::keyClicks(&shown.editor, QStringLiteral("x"));
    EXPECT_EQ(shown.editor.toPlainText(), QStringLiteral("read only text"));
}

} // namespace
