#include "editor/EditorContextMenu.h"

#include "editor/CNoteEditor.h"
#include "editor/EditorFormatting.h"
#include "editor/EditorPrompts.h"
#include "editor/EditorTexts.h"
#include "editor/SpellChecker.h"

#include <QMenu>
#include <QTextCursor>
#include <iterator>

namespace {

using EF = EditorFormatting::Effect;

QAction* addCommand(QMenu& menu, const char* text, int command) {
    QAction* action = menu.addAction(QString::fromUtf8(text));
    action->setData(command);
    return action;
}

// A radio-marked item: checkable, checked when `on`.
QAction* addRadio(QMenu& menu, const char* text, int command, bool on) {
    QAction* action = addCommand(menu, text, command);
    action->setCheckable(true);
    action->setChecked(on);
    return action;
}

struct NumberingItem {
    const char* text;
    int command;
    rtf::Numbering kind;
};

constexpr NumberingItem kNumberingItems[] = {
    {EditorTexts::numberArabic, EditorContextMenu::NumberArabic, rtf::Numbering::Arabic},
    {EditorTexts::numberLowerLetter, EditorContextMenu::NumberLowerLetter, rtf::Numbering::LowerLetter},
    {EditorTexts::numberUpperLetter, EditorContextMenu::NumberUpperLetter, rtf::Numbering::UpperLetter},
    {EditorTexts::numberLowerRoman, EditorContextMenu::NumberLowerRoman, rtf::Numbering::LowerRoman},
    {EditorTexts::numberUpperRoman, EditorContextMenu::NumberUpperRoman, rtf::Numbering::UpperRoman},
    {EditorTexts::bullets, EditorContextMenu::Bullets, rtf::Numbering::Bullet},
};

void buildReadOnly(QMenu& menu) {
    addCommand(menu, EditorTexts::copy, EditorContextMenu::Copy);
    addCommand(menu, EditorTexts::selectAll, EditorContextMenu::SelectAll);
}

void buildEditable(QMenu& menu, const CNoteEditor& editor) {
    const std::optional<QString> face = EditorFormatting::selectionFace(editor);
    const int height = EditorFormatting::selectionHeightTwips(editor);
    const int alignment = EditorFormatting::alignmentValue(editor);
    const rtf::Numbering numbering = EditorFormatting::numberingKind(editor);
    const bool hasSelection = editor.textCursor().hasSelection();
    auto faceIs = [&](const char* name) {
        return face && face->compare(QString::fromUtf8(name), Qt::CaseInsensitive) == 0;
    };

    QMenu* formatting = menu.addMenu(QString::fromUtf8(EditorTexts::formatting));
    QMenu* fontName = formatting->addMenu(QString::fromUtf8(EditorTexts::fontName));
    addRadio(*fontName, EditorTexts::faceTahoma, EditorContextMenu::FaceTahoma,
             faceIs(EditorTexts::faceTahoma));
    addRadio(*fontName, EditorTexts::faceCourierNew, EditorContextMenu::FaceCourierNew,
             faceIs(EditorTexts::faceCourierNew));
    QMenu* fontSize = formatting->addMenu(QString::fromUtf8(EditorTexts::fontSize));
    for (size_t i = 0; i < std::size(EditorTexts::fontSizes); ++i) {
        const int points = EditorTexts::fontSizes[i];
        const QByteArray label = QByteArray::number(points);
        addRadio(*fontSize, label.constData(), EditorContextMenu::FontSizeFirst + static_cast<int>(i),
                 height == points * 20);
    }
    formatting->addSeparator();
    QMenu* textColour = formatting->addMenu(QString::fromUtf8(EditorTexts::textColor));
    addCommand(*textColour, EditorTexts::color, EditorContextMenu::TextColour);
    addCommand(*textColour, EditorTexts::highlight, EditorContextMenu::Highlight);
    QMenu* numberingMenu = formatting->addMenu(QString::fromUtf8(EditorTexts::numbering));
    for (const NumberingItem& item : kNumberingItems)
        addRadio(*numberingMenu, item.text, item.command, numbering == item.kind);
    numberingMenu->addSeparator();
    addRadio(*numberingMenu, EditorTexts::numberNone, EditorContextMenu::NumberNone,
             numbering == rtf::Numbering::None);
    formatting->addSeparator();
    addRadio(*formatting, EditorTexts::bold, EditorContextMenu::Bold,
             EditorFormatting::selectionHas(editor, EF::Bold));
    addRadio(*formatting, EditorTexts::italic, EditorContextMenu::Italic,
             EditorFormatting::selectionHas(editor, EF::Italic));
    addRadio(*formatting, EditorTexts::strikeout, EditorContextMenu::Strikeout,
             EditorFormatting::selectionHas(editor, EF::Strikeout));
    addRadio(*formatting, EditorTexts::underline, EditorContextMenu::Underline,
             EditorFormatting::selectionHas(editor, EF::Underline));
    formatting->addSeparator();
    addRadio(*formatting, EditorTexts::alignLeft, EditorContextMenu::AlignLeft,
             alignment == EditorFormatting::kAlignLeft);
    addRadio(*formatting, EditorTexts::center, EditorContextMenu::Center,
             alignment == EditorFormatting::kAlignCenter);
    addRadio(*formatting, EditorTexts::alignRight, EditorContextMenu::AlignRight,
             alignment == EditorFormatting::kAlignRight);

    addCommand(menu, EditorTexts::checkSpelling, EditorContextMenu::CheckSpelling);
    menu.addSeparator();
    addCommand(menu, EditorTexts::cut, EditorContextMenu::Cut)->setEnabled(hasSelection);
    addCommand(menu, EditorTexts::copy, EditorContextMenu::Copy)->setEnabled(hasSelection);
    addCommand(menu, EditorTexts::paste, EditorContextMenu::Paste)->setEnabled(editor.canPaste());
    menu.addSeparator();
    addCommand(menu, EditorTexts::selectAll, EditorContextMenu::SelectAll);
}

void toggleNumbering(CNoteEditor& editor, rtf::Numbering kind) {
    const bool inForce = EditorFormatting::numberingKind(editor) == kind;
    EditorFormatting::setNumbering(editor, inForce ? rtf::Numbering::None : kind);
}

void toggleAlignment(CNoteEditor& editor, int value) {
    const bool inForce = EditorFormatting::alignmentValue(editor) == value;
    EditorFormatting::setAlignment(editor, inForce ? EditorFormatting::kAlignNone : value);
}

} // namespace

void EditorContextMenu::build(QMenu& menu, const CNoteEditor& editor) {
    if (editor.isReadOnlyEditor())
        buildReadOnly(menu);
    else
        buildEditable(menu, editor);
}

void EditorContextMenu::run(CNoteEditor& editor, const QPoint& globalPos) {
    QMenu menu(&editor);
    build(menu, editor);
    if (editor.menuExtender())
        editor.menuExtender()(menu);
    QAction* chosen = editor.trackMenu(menu, globalPos);
    if (!chosen || !chosen->data().isValid())
        return;
    carryOut(editor, chosen->data().toInt(), globalPos);
}

void EditorContextMenu::carryOut(CNoteEditor& editor, int command, const QPoint& globalPos) {
    if (command >= FontSizeFirst &&
        command < FontSizeFirst + static_cast<int>(std::size(EditorTexts::fontSizes))) {
        EditorFormatting::setHeightTwips(editor, EditorTexts::fontSizes[command - FontSizeFirst] * 20);
        return;
    }
    for (const NumberingItem& item : kNumberingItems) {
        if (item.command == command) {
            toggleNumbering(editor, item.kind);
            return;
        }
    }
    switch (command) {
    case FaceTahoma:
        EditorFormatting::setFace(editor, QString::fromUtf8(EditorTexts::faceTahoma));
        break;
    case FaceCourierNew:
        EditorFormatting::setFace(editor, QString::fromUtf8(EditorTexts::faceCourierNew));
        break;
    case TextColour:
    case Highlight: {
        const bool text = command == TextColour;
        const uint32_t initial = text ? EditorFormatting::selectionTextColour(editor)
                                      : EditorFormatting::selectionBackColour(editor);
        uint32_t colour = initial;
        if (ChooseColour(globalPos, initial, &editor, colour) != 1)
            break; // cancelled: nothing changes
        if (text)
            EditorFormatting::setTextColour(editor, colour);
        else
            EditorFormatting::setBackColour(editor, colour);
        break;
    }
    case NumberNone:
        EditorFormatting::setNumbering(editor, rtf::Numbering::None);
        break;
    case Bold:
        EditorFormatting::toggleEffect(editor, EF::Bold);
        break;
    case Italic:
        EditorFormatting::toggleEffect(editor, EF::Italic);
        break;
    case Strikeout:
        EditorFormatting::toggleEffect(editor, EF::Strikeout);
        break;
    case Underline:
        EditorFormatting::toggleEffect(editor, EF::Underline);
        break;
    case AlignLeft:
        toggleAlignment(editor, EditorFormatting::kAlignLeft);
        break;
    case Center:
        toggleAlignment(editor, EditorFormatting::kAlignCenter);
        break;
    case AlignRight:
        toggleAlignment(editor, EditorFormatting::kAlignRight);
        break;
    case CheckSpelling:
        SpellChecker::CheckDocument(editor);
        break;
    case Cut:
        editor.cut();
        break;
    case Copy:
        editor.copy();
        break;
    case Paste:
        editor.paste();
        break;
    case SelectAll:
        editor.selectAll();
        break;
    default:
        break;
    }
}
