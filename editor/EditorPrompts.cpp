#include "editor/EditorPrompts.h"

#include "gui/CColourPopup.h"

#include <QMenu>

namespace {
PopupMenuHandler& menuHandler() {
    static PopupMenuHandler h;
    return h;
}
ColourChooser& colourChooser() {
    static ColourChooser c;
    return c;
}
} // namespace

QAction* RunPopupMenu(QMenu& menu, const QPoint& globalPos) {
    if (menuHandler())
        return menuHandler()(menu, globalPos);
    return menu.exec(globalPos);
}

PopupMenuHandler SetPopupMenuHandler(PopupMenuHandler handler) {
    PopupMenuHandler previous = std::move(menuHandler());
    menuHandler() = std::move(handler);
    return previous;
}

int ChooseColour(const QPoint& globalPos, uint32_t initial, QWidget* owner, uint32_t& colour) {
    if (colourChooser())
        return colourChooser()(globalPos, initial, owner, colour);
    return CColourPopup::Choose(globalPos, initial, owner, colour);
}

ColourChooser SetColourChooser(ColourChooser chooser) {
    ColourChooser previous = std::move(colourChooser());
    colourChooser() = std::move(chooser);
    return previous;
}
