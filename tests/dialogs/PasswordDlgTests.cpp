// The password dialog driven through its own controls: the toggle label, the
// key buttons, OK (a button on the desktop, a soft key on the handheld).
#include "core/Edition.h"
#include "dialogs/CPasswordDlg.h"
#include "gui/DialogMenuBar.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {

class PasswordDlgTest : public ::testing::Test {
protected:
    // The shown flag lives for the whole run; every test starts like a fresh program.
    void SetUp() override { CPasswordDlg::SetKeyboardShown(false); }
    void TearDown() override { CPasswordDlg::SetKeyboardShown(false); }

    static void clickToggle(CPasswordDlg& dlg) { QTest::mouseClick(dlg.toggleLabel(), Qt::LeftButton); }

    static void clickKey(CPasswordDlg& dlg, const QString& caption) {
        for (int i = 0; i < PasswordKeyboard::kKeyCount; ++i) {
            if (dlg.key(i)->text() == caption) {
                ASSERT_TRUE(dlg.key(i)->isVisible()) << caption.toStdString();
                QTest::mouseClick(dlg.key(i), Qt::LeftButton);
                return;
            }
        }
        FAIL() << "no key shows " << caption.toStdString();
    }

    static void pressOk(CPasswordDlg& dlg) {
        if (DialogMenuBar* bar = DialogMenuBar::Find(&dlg)) {
            bar->leftButton()->click();
        } else {
            dlg.buttons()->button(QDialogButtonBox::Ok)->click();
        }
    }

    // The bottom of a control in the dialog's own coordinates.
    static int bottomInDialog(const CPasswordDlg& dlg, const QWidget* control) {
        return control->mapTo(&dlg, QPoint(0, control->height() - 1)).y();
    }
};

} // namespace

TEST_F(PasswordDlgTest, EditionTextsAndHiddenKeyboardAtStart) {
    CPasswordDlg dlg;
    dlg.show();
    if (kHandheld) {
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Enter Password"));
        EXPECT_EQ(dlg.promptLabel()->text(), QStringLiteral("Enter Password:"));
        ASSERT_NE(DialogMenuBar::Find(&dlg), nullptr);
        EXPECT_EQ(DialogMenuBar::Find(&dlg)->leftButton()->text(), QStringLiteral("OK"));
        EXPECT_EQ(DialogMenuBar::Find(&dlg)->rightButton()->text(), QStringLiteral("Cancel"));
        EXPECT_FALSE(dlg.buttons()->isVisible());
    } else {
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Enter the password"));
        EXPECT_EQ(dlg.promptLabel()->text(), QStringLiteral("Enter password:"));
        EXPECT_TRUE(dlg.buttons()->isVisible());
    }
    EXPECT_EQ(dlg.toggleLabel()->text(), QStringLiteral("Show anti-keylogger keyboard  >>"));
    EXPECT_TRUE(dlg.toggleLabel()->font().bold());
    EXPECT_TRUE(dlg.passwordBox()->isEnabled());
    EXPECT_EQ(dlg.passwordBox()->echoMode(), QLineEdit::Password);
    for (int i = 0; i < PasswordKeyboard::kKeyCount; ++i)
        EXPECT_FALSE(dlg.key(i)->isVisible());
}

TEST_F(PasswordDlgTest, HiddenKeyboardReturnsTheBoxText) {
    CPasswordDlg dlg;
    dlg.show();
    QTest::keyClicks(dlg.passwordBox(), QStringLiteral("Se&cret 7"));
    pressOk(dlg);
    EXPECT_EQ(dlg.password(), QStringLiteral("Se&cret 7"));
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

TEST_F(PasswordDlgTest, ShownKeyboardReturnsTheKeysNotTheAsterisks) {
    CPasswordDlg dlg;
    dlg.show();
    clickToggle(dlg);
    EXPECT_TRUE(CPasswordDlg::IsKeyboardShown());
    EXPECT_EQ(dlg.toggleLabel()->text(), QStringLiteral("Hide anti-keylogger keyboard  <<"));
    EXPECT_FALSE(dlg.passwordBox()->isEnabled());

    clickKey(dlg, QStringLiteral("Shift"));
    clickKey(dlg, QStringLiteral("&&")); // the shifted 7
    clickKey(dlg, QStringLiteral("7"));  // Shift held for one character only
    clickKey(dlg, QStringLiteral("CAP"));
    clickKey(dlg, QStringLiteral("!"));
    clickKey(dlg, QStringLiteral("Q"));
    EXPECT_EQ(dlg.passwordBox()->text(), QStringLiteral("****"));
    EXPECT_EQ(dlg.keyboard().buffer(), QStringLiteral("&7!Q"));

    pressOk(dlg);
    EXPECT_EQ(dlg.password(), QStringLiteral("&7!Q"));
}

TEST_F(PasswordDlgTest, ClearAndHidingDiscardWhatWasTyped) {
    CPasswordDlg dlg;
    dlg.show();
    clickToggle(dlg);
    clickKey(dlg, QStringLiteral("a"));
    clickKey(dlg, QStringLiteral("Clear"));
    EXPECT_TRUE(dlg.passwordBox()->text().isEmpty());
    EXPECT_TRUE(dlg.keyboard().buffer().isEmpty());

    clickKey(dlg, QStringLiteral("b"));
    clickToggle(dlg); // hide
    EXPECT_FALSE(CPasswordDlg::IsKeyboardShown());
    EXPECT_TRUE(dlg.passwordBox()->text().isEmpty());
    EXPECT_TRUE(dlg.keyboard().buffer().isEmpty());
    EXPECT_TRUE(dlg.passwordBox()->isEnabled());
    pressOk(dlg);
    EXPECT_TRUE(dlg.password().isEmpty());
}

TEST_F(PasswordDlgTest, ShownFlagCarriesOverToTheNextPromptButCapDoesNot) {
    {
        CPasswordDlg first;
        first.show();
        clickToggle(first);
        clickKey(first, QStringLiteral("CAP"));
        first.reject();
    }
    CPasswordDlg second;
    second.show();
    EXPECT_TRUE(second.key(0)->isVisible());
    EXPECT_FALSE(second.keyboard().caps());
    clickKey(second, QStringLiteral("q"));
    pressOk(second);
    EXPECT_EQ(second.password(), QStringLiteral("q"));
}

TEST_F(PasswordDlgTest, KeysDoNotTakeTheFocusOrTheEnterKey) {
    CPasswordDlg dlg;
    dlg.show();
    clickToggle(dlg);
    clickKey(dlg, QStringLiteral("x"));
    for (int i = 0; i < PasswordKeyboard::kKeyCount; ++i) {
        EXPECT_EQ(dlg.key(i)->focusPolicy(), Qt::NoFocus);
        EXPECT_FALSE(dlg.key(i)->autoDefault());
    }
    if (!kHandheld) {
        // Enter is OK, not a second "x".
        QTest::keyClick(&dlg, Qt::Key_Return);
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(dlg.password(), QStringLiteral("x"));
    }
}

TEST_F(PasswordDlgTest, HeightFollowsTheKeyboardOnTheDesktopOnly) {
    CPasswordDlg dlg;
    dlg.show();
    const QPoint topLeft = dlg.pos();
    const int width = dlg.width();
    const int hiddenHeight = dlg.height();

    clickToggle(dlg);
    const int shownHeight = dlg.height();
    const QWidget* clear = nullptr;
    for (int i = 0; i < PasswordKeyboard::kKeyCount; ++i)
        if (PasswordKeyboard::kind(i) == PasswordKeyboard::KeyKind::Clear)
            clear = dlg.key(i);
    ASSERT_NE(clear, nullptr);
    EXPECT_EQ(dlg.width(), width);
    EXPECT_EQ(dlg.pos(), topLeft);

    if (kHandheld) {
        EXPECT_EQ(shownHeight, hiddenHeight);
        return;
    }
    EXPECT_EQ(dlg.clientArea()->height(), bottomInDialog(dlg, clear) + 1 + 10);
    EXPECT_EQ(shownHeight, dlg.clientArea()->height());
    EXPECT_GT(shownHeight, hiddenHeight);

    clickToggle(dlg);
    EXPECT_EQ(dlg.height(), bottomInDialog(dlg, dlg.toggleLabel()) + 1 + 10);
    EXPECT_EQ(dlg.height(), hiddenHeight);
    EXPECT_EQ(dlg.width(), width);
}

TEST_F(PasswordDlgTest, KeysStayInsideTheDialogWithoutOverlapping) {
    CPasswordDlg::SetKeyboardShown(true);
    CPasswordDlg dlg;
    dlg.show();
    const QRect area = dlg.clientArea()->rect();
    for (int i = 0; i < PasswordKeyboard::kKeyCount; ++i) {
        const QRect key = dlg.key(i)->geometry();
        EXPECT_TRUE(area.contains(key)) << "key " << i;
        EXPECT_GT(key.top(), dlg.toggleLabel()->geometry().bottom()) << "key " << i;
        for (int j = i + 1; j < PasswordKeyboard::kKeyCount; ++j)
            EXPECT_FALSE(key.intersects(dlg.key(j)->geometry())) << i << " and " << j;
    }
}

// The work of OK (deriving a key) runs on another thread; meanwhile the
// dialog's own thread goes on handling events, with the busy bar shown and
// the password box closed to input.
TEST_F(PasswordDlgTest, WorkOfOkRunsOffTheUiThreadWithABusyBar) {
    CPasswordDlg dlg;
    dlg.show();
    dlg.passwordBox()->setText(QStringLiteral("typed"));
    std::atomic<bool> uiRan{false};
    bool busyShown = false, boxOpen = true;
    QString given;
    std::thread::id worker;
    dlg.setWork([&](const QString& password) {
        given = password;
        worker = std::this_thread::get_id();
        QMetaObject::invokeMethod(
            &dlg,
            [&] {
                busyShown = dlg.busyBar()->isVisible();
                boxOpen = dlg.passwordBox()->isEnabled();
                uiRan = true;
            },
            Qt::QueuedConnection);
        while (!uiRan)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    EXPECT_FALSE(dlg.busyBar()->isVisible());
    pressOk(dlg);
    EXPECT_TRUE(uiRan);
    EXPECT_TRUE(busyShown);
    EXPECT_FALSE(boxOpen);
    EXPECT_NE(worker, std::this_thread::get_id());
    EXPECT_EQ(given, QStringLiteral("typed"));
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
}
