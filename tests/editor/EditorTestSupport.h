#pragma once
// Helpers for the editor tests: choosing menu items by their labels, seeing
// what a menu showed, and answering message boxes and the colour popup.

#include "editor/EditorPrompts.h"
#include "gui/MessageBox.h"

#include <QAction>
#include <QMenu>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace editortest {

// One shown item: its label path ("Formatting/Font Size/8"), check mark and greying.
struct ShownItem {
    QString path;
    bool checkable = false;
    bool checked = false;
    bool enabled = true;
    bool separator = false;
};

inline void collect(const QMenu& menu, const QString& prefix, std::vector<ShownItem>& out) {
    for (QAction* action : menu.actions()) {
        ShownItem item;
        item.path = prefix + action->text();
        item.separator = action->isSeparator();
        item.checkable = action->isCheckable();
        item.checked = action->isChecked();
        item.enabled = action->isEnabled();
        out.push_back(item);
        if (action->menu())
            collect(*action->menu(), item.path + QLatin1Char('/'), out);
    }
}

inline std::vector<ShownItem> shownItems(const QMenu& menu) {
    std::vector<ShownItem> items;
    collect(menu, QString(), items);
    return items;
}

inline const ShownItem* findShown(const std::vector<ShownItem>& items, const QString& path) {
    for (const ShownItem& item : items) {
        if (item.path == path)
            return &item;
    }
    return nullptr;
}

// The action at a label path such as "Formatting/Bold"; null when there is none.
inline QAction* findAction(const QMenu& menu, const QString& path) {
    const QString head = path.section(QLatin1Char('/'), 0, 0);
    const QString rest = path.section(QLatin1Char('/'), 1);
    for (QAction* action : menu.actions()) {
        if (action->isSeparator() || action->text() != head)
            continue;
        if (rest.isEmpty())
            return action;
        return action->menu() ? findAction(*action->menu(), rest) : nullptr;
    }
    return nullptr;
}

// Installs a menu handler for the life of the object. Each shown menu is
// recorded; `choose` picks the action (null dismisses the menu).
class MenuScript {
public:
    using Chooser = std::function<QAction*(QMenu&, int menuIndex)>;

    explicit MenuScript(Chooser choose) : m_choose(std::move(choose)) {
        m_previous = SetPopupMenuHandler([this](QMenu& menu, const QPoint& pos) {
            menus.push_back(shownItems(menu));
            points.push_back(pos);
            return m_choose(menu, static_cast<int>(menus.size()) - 1);
        });
    }
    // Always picks the item at `path`.
    explicit MenuScript(const QString& path)
        : MenuScript([path](QMenu& menu, int) { return findAction(menu, path); }) {}
    ~MenuScript() { SetPopupMenuHandler(m_previous); }

    std::vector<std::vector<ShownItem>> menus;
    std::vector<QPoint> points;

private:
    Chooser m_choose;
    PopupMenuHandler m_previous;
};

// Records message boxes and answers them with `answer`.
class MessageScript {
public:
    explicit MessageScript(MessageAnswer answer = MessageAnswer::Ok) {
        m_previous = SetMessageBoxHandler(
            [this, answer](QWidget*, const QString& text, MessageIcon icon, MessageButtons buttons) {
                texts.push_back(text);
                icons.push_back(icon);
                this->buttons.push_back(buttons);
                return answer;
            });
    }
    ~MessageScript() { SetMessageBoxHandler(m_previous); }

    QStringList texts;
    std::vector<MessageIcon> icons;
    std::vector<MessageButtons> buttons;

private:
    MessageBoxHandler m_previous;
};

// Answers the colour popup: result 1 with `colour`, or 2 (cancel) with the initial colour.
class ColourScript {
public:
    ColourScript(int result, uint32_t colour) {
        m_previous = SetColourChooser(
            [this, result, colour](const QPoint&, uint32_t initial, QWidget*, uint32_t& chosen) {
                initials.push_back(initial);
                chosen = result == 1 ? colour : initial;
                return result;
            });
    }
    ~ColourScript() { SetColourChooser(m_previous); }

    std::vector<uint32_t> initials;

private:
    ColourChooser m_previous;
};

} // namespace editortest
