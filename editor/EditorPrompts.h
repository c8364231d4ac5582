#pragma once
// The popup menus and the colour popup of the editor and the spell checker go
// through these two functions, so that tests can pick an item or a colour
// offscreen, without a person at the screen.

#include <QPoint>
#include <cstdint>
#include <functional>

class QAction;
class QMenu;
class QWidget;

// Shows the menu at a screen point and returns the chosen action, or null when
// the menu was dismissed.
QAction* RunPopupMenu(QMenu& menu, const QPoint& globalPos);

// Replaces the menu handler (an empty function restores the real menu); returns the previous one.
using PopupMenuHandler = std::function<QAction*(QMenu&, const QPoint&)>;
PopupMenuHandler SetPopupMenuHandler(PopupMenuHandler handler);

// Opens the colour popup at a screen point, preset with `initial` (0x00RRGGBB
// or the automatic value 0xFF000000). Returns 1 with the chosen colour, or 2
// (cancelled) with the initial colour.
int ChooseColour(const QPoint& globalPos, uint32_t initial, QWidget* owner, uint32_t& colour);

// Replaces the colour chooser (an empty function restores the popup); returns the previous one.
using ColourChooser = std::function<int(const QPoint&, uint32_t, QWidget*, uint32_t&)>;
ColourChooser SetColourChooser(ColourChooser chooser);
