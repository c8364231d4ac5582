// Guarding what is on screen and on the clipboard: locking by command, idle
// time, resume and the screen saver's signal; what a locked window shows and
// hides; unlocking; Copy Value with its secret mark and clearing; concealed
// values in the preview.
#include "AppFixture.h"

#include "app/CLockPanel.h"
#include "app/CNotesView.h"
#include "app/NotesTreeModel.h"
#include "app/SessionLock.h"
#include "app/ValueClipboard.h"
#include "core/Edition.h"
#include "core/Texts.h"
#include "dialogs/CFindDlg.h"
#include "dialogs/COptionsDlg.h"
#include "editor/CNoteEditor.h"
#include "gui/SettingsTable.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

namespace {

const QString kPassword = QStringLiteral("pw");
const QString kSecretTitle = QStringLiteral("Visa of Ann");
const QString kPin = QStringLiteral("9876");

void addItemTexts(const QAbstractItemModel& model, const QModelIndex& parent, QStringList& texts) {
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex item = model.index(row, 0, parent);
        texts << item.data().toString();
        addItemTexts(model, item, texts);
    }
}

// Every text a visible widget of a visible window holds.
QStringList visibleTexts() {
    QStringList texts;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible())
            continue;
        QList<QWidget*> widgets = window->findChildren<QWidget*>();
        widgets.prepend(window);
        for (QWidget* w : widgets) {
            if (!w->isVisible())
                continue;
            if (auto* edit = qobject_cast<QLineEdit*>(w))
                texts << edit->text();
            if (auto* text = qobject_cast<QTextEdit*>(w))
                texts << text->toPlainText();
            if (auto* label = qobject_cast<QLabel*>(w))
                texts << label->text();
            if (auto* view = qobject_cast<QAbstractItemView*>(w); view && view->model())
                addItemTexts(*view->model(), view->rootIndex(), texts);
        }
    }
    return texts;
}

} // namespace

class LockTest : public AppFixture {
protected:
    // A program with a password-protected database holding a card note, selected.
    void startWithCard(int idleSeconds = 0, int clearSeconds = 15) {
        WriteNumberSetting(*settings, Setting::LockAfterIdleSeconds, idleSeconds);
        WriteNumberSetting(*settings, Setting::ClipboardClearSeconds, clearSeconds);
        answer(reject); // the start-up dialog
        ASSERT_TRUE(start());
        notes().password = kPassword.toStdU16String();
        const int32_t card = notes().AddNode(0, 0, 0, kSecretTitle.toStdU16String(), u"confidential body",
                                             u"", NoteTimestamp{});
        NoteRecord& note = *notes().FindNode(card);
        note.templateId = 1; // Cardholder name, Card number, Expires, CVC, PIN ...
        note.fieldValues = {u"Ann", u"4111", u"", u"123", kPin.toStdU16String(), u"", u""};
        frame().view()->Fill();
        frame().view()->setCurrentIndex(frame().view()->notesModel().indexOf(card));
        frame().UpdateCommandStates();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame()));
        frame().sessionLock().setClock([this] { return now; });
        frame().valueClipboard().setClock([this] { return now; });
    }

    QString previewText() { return frame().findChild<CNoteEditor*>()->toPlainText(); }

    qint64 now = 1'000'000;
};

TEST_F(LockTest, IdleTimeActivityResumeAndTheScreenSaverLock) {
    startWithCard(60);
    SessionLock& lock = frame().sessionLock();
    now += 59'000;
    lock.CheckIdle();
    EXPECT_FALSE(frame().isLocked());
    // A key pressed in the tree starts the idle time again.
    QTest::keyClick(frame().view(), Qt::Key_Shift);
    now += 59'000;
    lock.CheckIdle();
    EXPECT_FALSE(frame().isLocked());
    now += 1'000;
    lock.CheckIdle();
    EXPECT_TRUE(frame().isLocked());

    // A resume after the idle time locks at once; one before it does not.
    ASSERT_TRUE(frame().Unlock(kPassword));
    now += 30'000;
    lock.OnPrepareForSleep(false);
    EXPECT_FALSE(frame().isLocked());
    now += 3'600'000;
    lock.OnPrepareForSleep(false);
    EXPECT_TRUE(frame().isLocked());
    ASSERT_TRUE(frame().Unlock(kPassword));
    lock.OnPrepareForSleep(true);
    EXPECT_TRUE(frame().isLocked());
    ASSERT_TRUE(frame().Unlock(kPassword));

    // The screen saver's signal, where a session bus runs.
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        // The run on a private bus must not pass without one.
        EXPECT_FALSE(qEnvironmentVariableIsSet("SEALBOOK_EXPECT_SESSION_BUS"));
        GTEST_SKIP() << "no session bus";
    }
    QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/ScreenSaver"),
                                                     QStringLiteral("org.freedesktop.ScreenSaver"),
                                                     QStringLiteral("ActiveChanged"));
    signal << true;
    ASSERT_TRUE(bus.send(signal));
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame().isLocked(); }, 5000));
}

TEST_F(LockTest, ADatabaseWithoutPasswordCannotBeLocked) {
    startWithCard(60);
    notes().password.clear();
    frame().UpdateCommandStates();
    EXPECT_FALSE(frame().action(Command::Lock)->isEnabled());
    EXPECT_FALSE(frame().Lock());
    now += 3'600'000;
    frame().sessionLock().CheckIdle();
    frame().sessionLock().OnScreenSaverActive(true);
    EXPECT_FALSE(frame().isLocked());
}

TEST_F(LockTest, LockedWindowShowsNothingOfTheDatabaseAndUnlockBringsItBackAsItWas) {
    startWithCard();
    frame().view()->OnFind(); // the find dialog stays open beside the window
    QApplication::processEvents();
    frame().view()->setFocus();
    QTest::qWait(50);
    const QImage before = frame().grab().toImage();
    ASSERT_TRUE(visibleTexts().join('\n').contains(kSecretTitle));

    frame().action(Command::Lock)->trigger();
    ASSERT_TRUE(frame().isLocked());
    const QString shown = visibleTexts().join('\n');
    EXPECT_FALSE(shown.contains(kSecretTitle)) << shown.toStdString();
    EXPECT_FALSE(shown.contains("confidential")) << shown.toStdString();
    EXPECT_FALSE(shown.contains("4111")) << shown.toStdString();
    for (QWidget* window : QApplication::topLevelWidgets())
        EXPECT_TRUE(window == &frame() || !window->isVisible()) << window->metaObject()->className();
    EXPECT_EQ(frame().windowTitle(), "Untitled [Locked] - Marrowick Sealbook");
    EXPECT_FALSE(frame().action(Command::Copy)->isEnabled());

    // A wrong password says so and stays locked.
    frame().lockPanel()->passwordBox()->setText("wrong");
    QTest::mouseClick(frame().lockPanel()->unlockButton(), Qt::LeftButton);
    EXPECT_TRUE(frame().isLocked());
    EXPECT_EQ(frame().lockPanel()->messageLine()->text(), "The password is not correct.");
    EXPECT_TRUE(frame().lockPanel()->passwordBox()->text().isEmpty());

    frame().lockPanel()->passwordBox()->setText(kPassword);
    QTest::keyClick(frame().lockPanel()->passwordBox(), Qt::Key_Return);
    ASSERT_FALSE(frame().isLocked());
    ASSERT_NE(frame().view()->findDialog(), nullptr);
    EXPECT_TRUE(frame().view()->findDialog()->isVisible());
    QTest::qWait(50);
    EXPECT_EQ(frame().grab().toImage(), before);
}

TEST_F(LockTest, ADialogOpenWhileLockingComesBackWithWhatWasTyped) {
    startWithCard();
    SetDialogRunner({}); // the dialogs run for real
    bool checked = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        QLineEdit* box = dialog->findChild<QLineEdit*>();
        box->setText("typed before the lock");
        ASSERT_TRUE(frame().Lock());
        QTimer::singleShot(0, [&, dialog, box] {
            EXPECT_FALSE(dialog->isVisible());
            EXPECT_FALSE(frame().Unlock("wrong"));
            EXPECT_TRUE(frame().Unlock(kPassword));
            QTimer::singleShot(0, [&, dialog, box] {
                EXPECT_TRUE(dialog->isVisible());
                EXPECT_EQ(box->text(), "typed before the lock");
                checked = true;
                dialog->reject();
            });
        });
    });
    frame().action(Command::DatabaseProperties)->trigger();
    EXPECT_TRUE(checked);
    EXPECT_FALSE(frame().isLocked());
}

TEST_F(LockTest, ClosingALockedWindowKeepsUnsavedChanges) {
    startWithCard();
    doc().setModified(true);
    ASSERT_TRUE(frame().Lock());
    EXPECT_FALSE(frame().close());
    EXPECT_EQ(frame().lockPanel()->messageLine()->text(), "Unlock to save or discard your changes.");
    EXPECT_TRUE(messages.isEmpty()); // no save question without the password
    ASSERT_TRUE(frame().Unlock(kPassword));
    doc().setModified(false);
    ASSERT_TRUE(frame().Lock());
    EXPECT_TRUE(frame().close());
}

TEST_F(LockTest, CopyValueMarksTheCopyAsSecretAndClearsItOnlyWhileItIsOurs) {
    startWithCard(0, 15);
    QClipboard* clipboard = QGuiApplication::clipboard();
    enum Then { Wait, ForeignCopy, Lock, Close };
    for (const Then then : {Wait, ForeignCopy, Lock, Close}) {
        SCOPED_TRACE(int(then));
        // The copy key takes the first secret field, the CVC.
        frame().action(Command::CopyValue)->trigger();
        const QMimeData* data = clipboard->mimeData();
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(data->text(), "123");
        EXPECT_EQ(data->data(ValueClipboard::kHintMimeType), QByteArray("secret"));
        EXPECT_TRUE(frame().windowTitle().contains("clipboard clears in 15 s"))
            << frame().windowTitle().toStdString();
        switch (then) {
        case Wait:
            now += 14'000;
            QTest::qWait(1200);
            EXPECT_EQ(clipboard->text(), "123");
            now += 1'000;
            QTest::qWait(1200);
            break;
        case ForeignCopy:
            clipboard->setText("someone else's");
            now += 15'000;
            QTest::qWait(1200);
            EXPECT_EQ(clipboard->text(), "someone else's");
            continue;
        case Lock:
            ASSERT_TRUE(frame().Lock());
            ASSERT_TRUE(frame().Unlock(kPassword));
            break;
        case Close:
            EXPECT_TRUE(frame().close());
            break;
        }
        EXPECT_TRUE(clipboard->text().isEmpty());
        EXPECT_FALSE(frame().windowTitle().contains("clipboard"));
    }

    // Each value by its caption from the tree's context menu.
    startWithCard(0, 15);
    std::unique_ptr<QMenu> menu(frame().BuildContextMenu(kNoteContextMenu, &frame()));
    QMenu* values = nullptr;
    for (QAction* a : menu->actions())
        if (a->menu() && a->text() == "Copy Value")
            values = a->menu();
    ASSERT_NE(values, nullptr);
    QStringList captions;
    for (QAction* a : values->actions())
        captions << a->text();
    EXPECT_EQ(captions, (QStringList{"Cardholder name", "Card number", "CVC", "PIN", "Title"}));
    values->actions().at(3)->trigger();
    EXPECT_EQ(clipboard->text(), kPin);
}

TEST_F(LockTest, ConcealedValuesInThePreviewRevealAndHideAgain) {
    startWithCard();
    const QString dots = QString::fromStdU16String(Texts::concealedValue);
    EXPECT_TRUE(previewText().contains("PIN: " + dots)) << previewText().toStdString();
    EXPECT_TRUE(previewText().contains("Card number: 4111"));
    EXPECT_FALSE(previewText().contains(kPin));

    // Copied from the preview, the dots are no secret; the revealed PIN is.
    auto* preview = frame().findChild<CNoteEditor*>();
    const QString hint = QString::fromLatin1(ValueClipboard::kHintMimeType);
    preview->selectAll();
    preview->copy();
    EXPECT_FALSE(QGuiApplication::clipboard()->mimeData()->hasFormat(hint));

    frame().action(Command::ShowConcealed)->trigger();
    EXPECT_TRUE(frame().action(Command::ShowConcealed)->isChecked());
    EXPECT_TRUE(previewText().contains("PIN: " + kPin));
    preview->selectAll();
    preview->copy();
    EXPECT_EQ(QGuiApplication::clipboard()->mimeData()->data(hint), QByteArray("secret"));
    EXPECT_GT(frame().valueClipboard().secondsLeft(), 0);

    // Another selection hides them again, and so does a lock.
    frame().view()->setCurrentIndex(frame().view()->notesModel().index(0, 0));
    frame().view()->setCurrentIndex(frame().view()->notesModel().indexOf(notes().nextNodeId - 1));
    EXPECT_FALSE(previewText().contains(kPin));
    EXPECT_FALSE(frame().action(Command::ShowConcealed)->isChecked());
    frame().action(Command::ShowConcealed)->trigger();
    ASSERT_TRUE(frame().Lock());
    ASSERT_TRUE(frame().Unlock(kPassword));
    EXPECT_FALSE(previewText().contains(kPin));
}

TEST_F(LockTest, TheSecurityPageSetsBothTimes) {
    startWithCard(300, 15);
    answer([](QDialog& dialog) {
        auto& options = static_cast<COptionsDlg&>(dialog);
        EXPECT_EQ(options.pages()->tabText(0), "Security");
        EXPECT_EQ(options.idleChoice()->currentText(), "5 minutes");
        EXPECT_EQ(options.clipboardChoice()->currentText(), "15 seconds");
        options.idleChoice()->setCurrentIndex(options.idleChoice()->findText("1 minute"));
        options.clipboardChoice()->setCurrentIndex(options.clipboardChoice()->findText("Never"));
        return accept(dialog);
    });
    frame().action(Command::Options)->trigger();
    EXPECT_EQ(dialogs.last(), "COptionsDlg");
    EXPECT_EQ(ReadNumberSetting(*settings, Setting::LockAfterIdleSeconds), 60);
    EXPECT_EQ(ReadNumberSetting(*settings, Setting::ClipboardClearSeconds), 0);
    EXPECT_EQ(frame().sessionLock().idleSeconds(), 60);
    // Never: a copied value stays.
    frame().action(Command::CopyValue)->trigger();
    EXPECT_EQ(frame().valueClipboard().secondsLeft(), 0);
    EXPECT_FALSE(frame().windowTitle().contains("clipboard"));
}
