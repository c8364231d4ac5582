// The keyboard through the main window, as a person presses it: the keys go
// to the widget that has the focus, never to a view called directly.
#include "AppFixture.h"

#include "app/CNotesView.h"
#include "core/Edition.h"
#include "dialogs/CNotePropNotes.h"
#include "dialogs/CNotePropSheet.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>

class KeyboardTest : public AppFixture {
protected:
    // Starts on a database with a folder and a note, the note selected in the focused tree.
    void startOnNote() {
        ASSERT_TRUE(start({makeDatabase(QStringLiteral("keys.nte"), u"")}));
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
        CNotesView& view = *frame().view();
        view.Fill();
        const QModelIndex folder = view.model()->index(0, 0, view.model()->index(0, 0));
        view.expand(folder);
        view.setCurrentIndex(view.model()->index(0, 0, folder));
        view.setFocus();
        ASSERT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(&view));
    }

    static void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
};

TEST_F(KeyboardTest, ReturnOpensTheNoteOnItsTitleAndThePageKeysTurnThePages) {
    startOnNote();
    // Pages of a note: Notes, Data, File, Icons, Reminder.
    struct Step {
        const char* keys;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int page;
    };
    const Step steps[] = {
        {"Ctrl+Tab", Qt::Key_Tab, Qt::ControlModifier, 1},
        {"Ctrl+PgDn", Qt::Key_PageDown, Qt::ControlModifier, 2},
        {"Ctrl+Shift+Tab", Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier, 1},
        {"Ctrl+PgUp", Qt::Key_PageUp, Qt::ControlModifier, 0},
        {"Ctrl+PgUp round the start", Qt::Key_PageUp, Qt::ControlModifier, 4},
        {"Ctrl+Tab round the end", Qt::Key_Tab, Qt::ControlModifier, 0},
    };
    answer([&](QDialog& dialog) {
        auto& sheet = static_cast<CNotePropSheet&>(dialog);
        // Shown as the runner would, in front of the main window.
        sheet.show();
        QApplication::setActiveWindow(&sheet);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&sheet));
        EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(sheet.notesPage()->titleBox()));
        for (const Step& step : steps) {
            press(step.key, step.modifiers);
            EXPECT_EQ(sheet.activePage(), step.page) << step.keys;
            EXPECT_TRUE(sheet.page(step.page)->isAncestorOf(QApplication::focusWidget())) << step.keys;
        }
        return int(QDialog::Rejected);
    });
    press(Qt::Key_Return);
    EXPECT_EQ(dialogs, QStringList{"CNotePropSheet"});
}

TEST_F(KeyboardTest, ContextMenuKeysOpenTheTreeMenuAtTheSelectedItem) {
    if (kHandheld)
        GTEST_SKIP() << "the handheld opens the menu by press and hold";
    startOnNote();
    CNotesView& view = *frame().view();
    const QModelIndex note = view.currentIndex();
    const QModelIndex database = view.model()->index(0, 0);
    const auto globalRect = [&view](const QModelIndex& index) {
        return QRect(view.viewport()->mapToGlobal(view.visualRect(index).topLeft()),
                     view.visualRect(index).size());
    };
    // The X server's menu key comes as a keyboard context-menu request to the
    // window, followed by the key itself; Shift+F10 only as the key.
    const auto menuKey = [this] {
        QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(), QCursor::pos());
        QApplication::sendEvent(frame().windowHandle(), &request);
        press(Qt::Key_Menu);
    };
    struct Case {
        const char* keys;
        std::function<void()> press;
        bool nothingChosen; // as after every fill: the database item's menu
    };
    const Case cases[] = {
        {"Shift+F10", [] { press(Qt::Key_F10, Qt::ShiftModifier); }, false},
        {"Menu", menuKey, false},
        {"Menu with nothing chosen", menuKey, true},
        {"Shift+F10 with nothing chosen", [] { press(Qt::Key_F10, Qt::ShiftModifier); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        view.selectionModel()->clear();
        view.selectionModel()->setCurrentIndex(c.nothingChosen ? QModelIndex() : note,
                                               QItemSelectionModel::ClearAndSelect);
        const QRect item = globalRect(c.nothingChosen ? database : note);
        QStringList shown;
        QPoint at;
        int menus = 0;
        QTimer poll;
        poll.setInterval(20);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                ++menus;
                for (const QAction* a : menu->actions())
                    if (!a->isSeparator())
                        shown << a->text();
                at = menu->pos();
                menu->close();
            }
        });
        poll.start();
        c.press();
        QTest::qWait(250);
        poll.stop();
        EXPECT_EQ(shown.value(0), "Open");
        EXPECT_EQ(shown.contains("Copy\tCtrl+C"), !c.nothingChosen) << "the note's menu";
        EXPECT_TRUE(item.contains(at)) << "menu at " << at.x() << "," << at.y();
        EXPECT_EQ(menus, 1) << "one menu for one press";
    }
}
