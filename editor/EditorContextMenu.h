#pragma once
// The note editor's context menus: "Copy" and "Select All" for a read-only
// editor; for an editable one the formatting submenu, "Check Spelling", the
// clipboard commands and "Select All", marked from the current selection
// before the menu is shown.

#include <QPoint>

class CNoteEditor;
class QMenu;

class EditorContextMenu {
public:
    // Command numbers carried by the menu's actions (QAction::data).
    enum Command : int {
        FaceTahoma = 1,
        FaceCourierNew,
        TextColour,
        Highlight,
        NumberArabic,
        NumberLowerLetter,
        NumberUpperLetter,
        NumberLowerRoman,
        NumberUpperRoman,
        Bullets,
        NumberNone,
        Bold,
        Italic,
        Strikeout,
        Underline,
        AlignLeft,
        Center,
        AlignRight,
        CheckSpelling,
        Cut,
        Copy,
        Paste,
        SelectAll,
        FontSizeFirst = 100, // + index into the size list
    };

    // Fills `menu` for the editor's current state.
    static void build(QMenu& menu, const CNoteEditor& editor);
    // Builds the menu, tracks it at the screen point and carries out the choice.
    static void run(CNoteEditor& editor, const QPoint& globalPos);
    // Carries out one command; `globalPos` places the colour popup.
    static void carryOut(CNoteEditor& editor, int command, const QPoint& globalPos);
};
