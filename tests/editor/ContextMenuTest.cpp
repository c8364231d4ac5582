// Every command of the editable editor's context menu on a real widget,
// chosen through the menu as the user would.
#include "EditorTestSupport.h"

#include "core/CodePage.h"
#include "core/MemorySettingsStore.h"
#include "editor/CNoteEditor.h"
#include "editor/EditorFormatting.h"
#include "editor/EditorTexts.h"
#include "editor/rtf/RtfReader.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace editortest;

namespace {

class ContextMenu : public ::testing::Test {
protected:
    ContextMenu() : editor(nullptr, false) {}

    void load(const std::u16string& body) { editor.LoadBody(body); }
    void select(int from, int to) {
        QTextCursor cursor(editor.document());
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        editor.setTextCursor(cursor);
    }
    // Opens the menu, records it, and chooses the item at `path` (empty: dismiss).
    std::vector<ShownItem> choose(const QString& path) {
        MenuScript script(path);
        editor.ShowContextMenu(QPoint(40, 50));
        EXPECT_EQ(script.menus.size(), 1u);
        return script.menus.empty() ? std::vector<ShownItem>{} : script.menus[0];
    }
    std::vector<ShownItem> shown() { return choose(QString()); }
    bool checked(const QString& path) {
        const std::vector<ShownItem> items = shown();
        const ShownItem* item = findShown(items, path);
        EXPECT_NE(item, nullptr) << path.toStdString();
        return item && item->checked;
    }
    rtf::Document stored() { return rtf::ReadRtf(CodePage::fromUtf16(editor.StoreBody(), CodePage::kAnsi)); }
    // The model format of the character at `position`.
    rtf::CharFormat formatAt(int position) {
        int at = 0;
        for (const rtf::Paragraph& p : stored().paragraphs) {
            for (const rtf::Run& r : p.runs) {
                const int length = r.isPicture ? 1 : static_cast<int>(r.text.size());
                if (position < at + length)
                    return r.format;
                at += length;
            }
            ++at; // paragraph end
        }
        ADD_FAILURE() << "no character at " << position;
        return {};
    }

    MemorySettingsStore settings;
    CNoteEditor editor;
};

TEST_F(ContextMenu, HasTheItemsInOrder) {
    load(u"text");
    std::vector<QString> paths;
    for (const ShownItem& item : shown())
        paths.push_back(item.separator ? QStringLiteral("|") : item.path);
    const std::vector<QString> expected = {
        "Formatting",
        "Formatting/Font Name",
        "Formatting/Font Name/Tahoma",
        "Formatting/Font Name/Courier New",
        "Formatting/Font Size",
        "Formatting/Font Size/8",
        "Formatting/Font Size/9",
        "Formatting/Font Size/10",
        "Formatting/Font Size/11",
        "Formatting/Font Size/12",
        "Formatting/Font Size/14",
        "Formatting/Font Size/16",
        "Formatting/Font Size/18",
        "Formatting/Font Size/20",
        "Formatting/Font Size/24",
        "Formatting/Font Size/30",
        "Formatting/Font Size/36",
        "Formatting/Font Size/48",
        "Formatting/Font Size/72",
        "|",
        "Formatting/Text Color",
        "Formatting/Text Color/Color...",
        "Formatting/Text Color/Highlight...",
        "Formatting/Numbering",
        "Formatting/Numbering/1, 2, 3,  ...",
        "Formatting/Numbering/a, b, c, ...",
        "Formatting/Numbering/A, B, C, ...",
        "Formatting/Numbering/i, ii, iii, ...",
        "Formatting/Numbering/I, II, III, ...",
        "Formatting/Numbering/Bullets",
        "|",
        "Formatting/Numbering/None",
        "|",
        "Formatting/Bold",
        "Formatting/Italic",
        "Formatting/Strikeout",
        "Formatting/Underline",
        "|",
        "Formatting/Align Left",
        "Formatting/Center",
        "Formatting/Align Right",
        "Check Spelling",
        "|",
        "Cut",
        "Copy",
        "Paste",
        "|",
        "Select All",
    };
    EXPECT_EQ(paths, expected);
}

TEST_F(ContextMenu, MarksFollowTheSelection) {
    load(u"{\\rtf1\\ansi{\\fonttbl{\\f0 Tahoma;}{\\f1 courier new;}}\\f1\\fs28\\b\\i\\strike\\ul "
         u"abc\\f0\\fs26 "
         u"def\\par}");
    select(0, 3);
    std::vector<ShownItem> items = shown();
    EXPECT_TRUE(findShown(items, "Formatting/Font Name/Courier New")->checked); // case does not matter
    EXPECT_FALSE(findShown(items, "Formatting/Font Name/Tahoma")->checked);
    EXPECT_TRUE(findShown(items, "Formatting/Font Size/14")->checked);
    for (const char* effect :
         {"Formatting/Bold", "Formatting/Italic", "Formatting/Strikeout", "Formatting/Underline"})
        EXPECT_TRUE(findShown(items, effect)->checked) << effect;
    EXPECT_TRUE(findShown(items, "Formatting/Align Left")->checked);
    EXPECT_TRUE(findShown(items, "Formatting/Numbering/None")->checked);

    // 13-point text: no size is marked. Mixed faces: no face is marked.
    select(3, 6);
    items = shown();
    for (int points : EditorTexts::fontSizes)
        EXPECT_FALSE(findShown(items, QStringLiteral("Formatting/Font Size/%1").arg(points))->checked)
            << points;
    select(2, 5);
    items = shown();
    EXPECT_FALSE(findShown(items, "Formatting/Font Name/Courier New")->checked);
    EXPECT_FALSE(findShown(items, "Formatting/Font Name/Tahoma")->checked);
}

TEST_F(ContextMenu, BoldOnAPartlyBoldSelectionMakesItAllBold) {
    load(u"{\\rtf1\\ansi plain {\\b bold} plain\\par}");
    select(3, 9); // "in bol"
    EXPECT_FALSE(checked("Formatting/Bold"));
    choose("Formatting/Bold");
    for (int i = 3; i < 9; ++i)
        EXPECT_TRUE(formatAt(i).bold) << i;
    EXPECT_FALSE(formatAt(2).bold); // outside the selection nothing changed
    EXPECT_TRUE(formatAt(9).bold);
    EXPECT_FALSE(formatAt(10).bold);
    EXPECT_TRUE(checked("Formatting/Bold"));
    choose("Formatting/Bold");
    for (int i = 3; i < 9; ++i)
        EXPECT_FALSE(formatAt(i).bold) << i;
    EXPECT_TRUE(formatAt(9).bold);
}

TEST_F(ContextMenu, EffectTogglesChangeOnlyTheirOwnEffect) {
    load(u"{\\rtf1\\ansi {\\b abcdef}\\par}");
    select(1, 4);
    choose("Formatting/Italic");
    choose("Formatting/Strikeout");
    choose("Formatting/Underline");
    const rtf::CharFormat inside = formatAt(2);
    EXPECT_TRUE(inside.bold);
    EXPECT_TRUE(inside.italic);
    EXPECT_TRUE(inside.strikeout);
    EXPECT_TRUE(inside.underline);
    const rtf::CharFormat outside = formatAt(4);
    EXPECT_TRUE(outside.bold);
    EXPECT_FALSE(outside.italic || outside.strikeout || outside.underline);
    choose("Formatting/Underline");
    EXPECT_FALSE(formatAt(2).underline);
    EXPECT_TRUE(formatAt(2).italic);
}

TEST_F(ContextMenu, FaceAndSizeApplyToTheSelectionOnly) {
    load(u"abcdef");
    select(0, 2);
    choose("Formatting/Font Name/Courier New");
    select(1, 3);
    choose("Formatting/Font Size/72");
    EXPECT_EQ(formatAt(0).face, u"Courier New");
    EXPECT_EQ(formatAt(0).sizeTwips, 200);
    EXPECT_EQ(formatAt(1).face, u"Courier New");
    EXPECT_EQ(formatAt(1).sizeTwips, 1440);
    EXPECT_EQ(formatAt(2).face, u"Tahoma");
    EXPECT_EQ(formatAt(2).sizeTwips, 1440);
    EXPECT_EQ(formatAt(3).sizeTwips, 200);
    select(0, 1);
    choose("Formatting/Font Name/Tahoma");
    EXPECT_EQ(formatAt(0).face, u"Tahoma");
    // Each size item sets its height.
    for (int points : EditorTexts::fontSizes) {
        select(4, 5);
        choose(QStringLiteral("Formatting/Font Size/%1").arg(points));
        EXPECT_EQ(formatAt(4).sizeTwips, points * 20);
        EXPECT_TRUE(checked(QStringLiteral("Formatting/Font Size/%1").arg(points)));
    }
}

TEST_F(ContextMenu, ColourAndHighlightUseThePopup) {
    load(u"{\\rtf1\\ansi{\\colortbl;\\red0\\green128\\blue0;}ab\\cf1 cd\\par}");
    select(0, 1);
    {
        ColourScript popup(1, 0x00FF0000u); // red
        choose("Formatting/Text Color/Color...");
        ASSERT_EQ(popup.initials.size(), 1u);
        EXPECT_EQ(popup.initials[0], EditorFormatting::kAutomaticColour);
    }
    EXPECT_EQ(formatAt(0).textColour, rtf::makeColour(255, 0, 0));
    EXPECT_EQ(formatAt(1).textColour, rtf::kAutoColour);

    select(2, 3);
    {
        ColourScript popup(2, 0); // cancelled: nothing changes
        choose("Formatting/Text Color/Color...");
        EXPECT_EQ(popup.initials[0], 0x00008000u); // preset with the selection's colour
    }
    EXPECT_EQ(formatAt(2).textColour, rtf::makeColour(0, 128, 0));
    {
        ColourScript popup(1, EditorFormatting::kAutomaticColour);
        choose("Formatting/Text Color/Color...");
    }
    EXPECT_EQ(formatAt(2).textColour, rtf::kAutoColour);
    EXPECT_EQ(formatAt(3).textColour, rtf::makeColour(0, 128, 0));

    select(1, 3);
    {
        ColourScript popup(1, 0x00FFFF00u); // yellow
        choose("Formatting/Text Color/Highlight...");
        EXPECT_EQ(popup.initials[0], EditorFormatting::kAutomaticColour);
    }
    EXPECT_EQ(formatAt(1).backColour, rtf::makeColour(255, 255, 0));
    EXPECT_EQ(formatAt(0).backColour, rtf::kAutoColour);
    {
        ColourScript popup(1, EditorFormatting::kAutomaticColour);
        choose("Formatting/Text Color/Highlight...");
        EXPECT_EQ(popup.initials[0], 0x00FFFF00u);
    }
    EXPECT_EQ(formatAt(1).backColour, rtf::kAutoColour);
}

TEST_F(ContextMenu, CenterTwiceLeavesNoAlignment) {
    load(u"one\r\ntwo");
    select(0, 0);
    choose("Formatting/Center");
    EXPECT_EQ(EditorFormatting::alignmentValue(editor), EditorFormatting::kAlignCenter);
    EXPECT_TRUE(checked("Formatting/Center"));
    choose("Formatting/Center");
    EXPECT_EQ(EditorFormatting::alignmentValue(editor), EditorFormatting::kAlignNone);
    const std::vector<ShownItem> items = shown();
    for (const char* item : {"Formatting/Align Left", "Formatting/Center", "Formatting/Align Right"})
        EXPECT_FALSE(findShown(items, item)->checked) << item;
    // No alignment is stored as left.
    EXPECT_EQ(stored().paragraphs[0].alignment, rtf::Alignment::Left);

    select(1, 5); // both paragraphs
    choose("Formatting/Align Right");
    EXPECT_EQ(stored().paragraphs[0].alignment, rtf::Alignment::Right);
    EXPECT_EQ(stored().paragraphs[1].alignment, rtf::Alignment::Right);
    select(0, 4); // the whole first paragraph with its break, nothing of the second
    choose("Formatting/Align Left");
    EXPECT_EQ(stored().paragraphs[0].alignment, rtf::Alignment::Left);
    EXPECT_EQ(stored().paragraphs[1].alignment, rtf::Alignment::Right);
}

TEST_F(ContextMenu, NumberingKindsToggleToNone) {
    load(u"a\r\nb\r\nc");
    select(0, 3); // first two paragraphs
    const std::pair<const char*, rtf::Numbering> kinds[] = {
        {"Formatting/Numbering/1, 2, 3,  ...", rtf::Numbering::Arabic},
        {"Formatting/Numbering/a, b, c, ...", rtf::Numbering::LowerLetter},
        {"Formatting/Numbering/A, B, C, ...", rtf::Numbering::UpperLetter},
        {"Formatting/Numbering/i, ii, iii, ...", rtf::Numbering::LowerRoman},
        {"Formatting/Numbering/I, II, III, ...", rtf::Numbering::UpperRoman},
        {"Formatting/Numbering/Bullets", rtf::Numbering::Bullet},
    };
    for (const auto& [path, kind] : kinds) {
        choose(path);
        rtf::Document model = stored();
        EXPECT_EQ(model.paragraphs[0].numbering, kind) << path;
        EXPECT_EQ(model.paragraphs[1].numbering, kind) << path;
        EXPECT_EQ(model.paragraphs[0].numberingStart, 1);
        EXPECT_EQ(model.paragraphs[2].numbering, rtf::Numbering::None);
        EXPECT_TRUE(checked(path));
        EXPECT_FALSE(checked("Formatting/Numbering/None"));
        // The two items form one list, numbered on.
        EXPECT_EQ(editor.document()->begin().textList(), editor.document()->begin().next().textList());
        choose(path); // the kind in force: back to none
        model = stored();
        EXPECT_EQ(model.paragraphs[0].numbering, rtf::Numbering::None) << path;
        EXPECT_TRUE(checked("Formatting/Numbering/None"));
        choose(path);
        choose("Formatting/Numbering/None");
        EXPECT_EQ(stored().paragraphs[1].numbering, rtf::Numbering::None) << path;
    }
}

TEST_F(ContextMenu, ParagraphChangesRestartNumberingAtOne) {
    load(u"{\\rtf1\\ansi{\\pntext 5.\\tab}{\\*\\pn\\pnlvlbody\\pndec\\pnstart5}first\\par}");
    ASSERT_EQ(stored().paragraphs[0].numbering, rtf::Numbering::Arabic);
    ASSERT_EQ(stored().paragraphs[0].numberingStart, 5);
    select(0, 0);
    choose("Formatting/Center");
    EXPECT_EQ(stored().paragraphs[0].numbering, rtf::Numbering::Arabic);
    EXPECT_EQ(stored().paragraphs[0].numberingStart, 1);
    EXPECT_EQ(stored().paragraphs[0].alignment, rtf::Alignment::Center);
}

TEST_F(ContextMenu, ClipboardCommandsAndGreying) {
    load(u"cut me here");
    QApplication::clipboard()->clear();
    select(3, 3);
    std::vector<ShownItem> items = shown();
    EXPECT_FALSE(findShown(items, "Cut")->enabled);
    EXPECT_FALSE(findShown(items, "Copy")->enabled);
    EXPECT_FALSE(findShown(items, "Paste")->enabled);
    EXPECT_TRUE(findShown(items, "Select All")->enabled);

    select(0, 4);
    items = shown();
    EXPECT_TRUE(findShown(items, "Cut")->enabled);
    EXPECT_TRUE(findShown(items, "Copy")->enabled);
    choose("Copy");
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("cut "));
    EXPECT_TRUE(findShown(shown(), "Paste")->enabled);
    choose("Cut");
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("me here"));
    editor.moveCursor(QTextCursor::End);
    choose("Paste");
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("me herecut "));
    choose("Select All");
    EXPECT_EQ(editor.textCursor().selectionStart(), 0);
    EXPECT_EQ(editor.textCursor().selectionEnd(), editor.document()->characterCount() - 1);
}

TEST_F(ContextMenu, CheckSpellingRunsTheCheckOnThisEditor) {
    editor.setSettingsStore(&settings);
    load(u"All words here are fine.");
    MessageScript messages;
    choose("Check Spelling");
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_EQ(messages.texts[0], QString::fromUtf8(EditorTexts::noMisspellings));
}

} // namespace
