// The database properties dialog driven through its boxes and OK: the title
// and confirmation checks, password removal, and the handheld layout.
#include "core/Edition.h"
#include "dialogs/CDatabaseProperties.h"
#include "gui/DialogMenuBar.h"
#include "gui/MessageBox.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <vector>

namespace {

class DatabasePropertiesTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_previous =
            SetMessageBoxHandler([this](QWidget*, const QString& text, MessageIcon icon, MessageButtons) {
                shown.push_back(text);
                icons.push_back(icon);
                return MessageAnswer::Ok;
            });
        // As the Database Properties command fills it.
        dlg.setTitle(QStringLiteral("Household"));
        dlg.setDescription(QStringLiteral("Bills\nand cards"));
        dlg.setPassword(QStringLiteral("Secret"));
        dlg.setRepeat(QStringLiteral("Secret"));
        dlg.show();
    }
    void TearDown() override { SetMessageBoxHandler(std::move(m_previous)); }

    void pressOk() {
        if (DialogMenuBar* bar = DialogMenuBar::Find(&dlg))
            bar->leftButton()->click();
        else
            dlg.buttons()->button(QDialogButtonBox::Ok)->click();
    }

    static void retype(QLineEdit* box, const QString& text) {
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
    }

    CDatabaseProperties dlg;
    std::vector<QString> shown;
    std::vector<MessageIcon> icons;

private:
    MessageBoxHandler m_previous;
};

QRect inClient(const CDatabaseProperties& dlg, const QWidget* control) {
    return QRect(control->mapTo(dlg.clientArea(), QPoint(0, 0)), control->size());
}

} // namespace

TEST_F(DatabasePropertiesTest, ControlsAndTexts) {
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Database Properties"));
    EXPECT_EQ(dlg.passwordLabel()->text(), QStringLiteral("Password:"));
    EXPECT_EQ(dlg.repeatLabel()->text(), QStringLiteral("Repeat:"));
    EXPECT_EQ(dlg.passwordBox()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dlg.repeatBox()->echoMode(), QLineEdit::Password);
    EXPECT_FALSE(dlg.iconLabel()->pixmap().isNull());
    EXPECT_EQ(dlg.titleBox()->text(), QStringLiteral("Household"));
    EXPECT_EQ(dlg.descriptionBox()->toPlainText(), QStringLiteral("Bills\nand cards"));
    if (kHandheld) {
        ASSERT_NE(DialogMenuBar::Find(&dlg), nullptr);
        EXPECT_EQ(DialogMenuBar::Find(&dlg)->leftButton()->text(), QStringLiteral("OK"));
        EXPECT_EQ(DialogMenuBar::Find(&dlg)->rightButton()->text(), QStringLiteral("Cancel"));
    } else {
        EXPECT_EQ(DialogMenuBar::Find(&dlg), nullptr);
        EXPECT_TRUE(dlg.buttons()->isVisible());
    }
}

TEST_F(DatabasePropertiesTest, ChangingTheDescriptionKeepsThePassword) {
    dlg.descriptionBox()->selectAll();
    QTest::keyClicks(dlg.descriptionBox(), QStringLiteral("Only bills"));
    pressOk();
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.title(), QStringLiteral("Household"));
    EXPECT_EQ(dlg.description(), QStringLiteral("Only bills"));
    EXPECT_EQ(dlg.password(), QStringLiteral("Secret"));
}

TEST_F(DatabasePropertiesTest, ClearingBothBoxesRemovesThePassword) {
    dlg.passwordBox()->clear();
    dlg.repeatBox()->clear();
    pressOk();
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_TRUE(dlg.password().isEmpty());
}

TEST_F(DatabasePropertiesTest, MismatchIsRefusedAndTheDialogKeepsWhatWasTyped) {
    retype(dlg.passwordBox(), QStringLiteral("NewPass"));
    retype(dlg.repeatBox(), QStringLiteral("newpass"));
    pressOk();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], QStringLiteral("The password confirmation does not match."));
    EXPECT_EQ(icons[0], MessageIcon::Stop);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.passwordBox()->text(), QStringLiteral("NewPass"));
    EXPECT_EQ(dlg.repeatBox()->text(), QStringLiteral("newpass"));

    // Only the password box cleared: still a mismatch, not a removal.
    dlg.passwordBox()->clear();
    pressOk();
    EXPECT_EQ(shown.size(), 2u);
    EXPECT_TRUE(dlg.isVisible());

    retype(dlg.passwordBox(), QStringLiteral("newpass"));
    pressOk();
    EXPECT_EQ(shown.size(), 2u);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.password(), QStringLiteral("newpass"));
}

TEST_F(DatabasePropertiesTest, OnlyAnEmptyTitleIsRefusedAndBeforeTheMismatch) {
    dlg.titleBox()->clear();
    retype(dlg.repeatBox(), QStringLiteral("other"));
    pressOk();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], kHandheld ? QStringLiteral("The title cannot be empty.")
                                  : QStringLiteral("The 'Title' cannot be empty."));
    EXPECT_EQ(icons[0], MessageIcon::Stop);
    EXPECT_TRUE(dlg.isVisible());

    QTest::keyClicks(dlg.titleBox(), QStringLiteral(" "));
    retype(dlg.repeatBox(), QStringLiteral("Secret"));
    pressOk();
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.title(), QStringLiteral(" "));
}

TEST_F(DatabasePropertiesTest, CancelHandsNothingBack) {
    retype(dlg.titleBox(), QStringLiteral("Changed"));
    if (DialogMenuBar* bar = DialogMenuBar::Find(&dlg))
        bar->rightButton()->click();
    else
        dlg.buttons()->button(QDialogButtonBox::Cancel)->click();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(dlg.title(), QStringLiteral("Household"));
    EXPECT_TRUE(shown.empty());
}

TEST_F(DatabasePropertiesTest, LayoutFollowsTheEdition) {
    const QSize before = dlg.size();
    const QRect password = inClient(dlg, dlg.passwordBox());
    const QRect repeat = inClient(dlg, dlg.repeatBox());
    const QRect description = inClient(dlg, dlg.descriptionBox());
    dlg.resize(before + QSize(150, 120));
    QApplication::processEvents();

    if (!kHandheld) {
        EXPECT_EQ(dlg.size(), before) << "the desktop dialog has a fixed layout";
        return;
    }
    const QSize client = dlg.clientArea()->size();
    ASSERT_GT(client.width(), before.width());
    const QRect title = inClient(dlg, dlg.titleBox());
    EXPECT_EQ(title.right() + 1, client.width() - 5);

    // The protection choice sits on the bottom margin, the password boxes above it.
    const QRect protection = inClient(dlg, dlg.protectionLabel());
    EXPECT_LT(inClient(dlg, dlg.strongButton()).bottom() + 1, client.height() - 5);
    for (const auto& [box, old] :
         {std::pair{dlg.passwordBox(), password}, std::pair{dlg.repeatBox(), repeat}}) {
        const QRect now = inClient(dlg, box);
        EXPECT_EQ(now.bottom() + 1, protection.top() - 6);
        EXPECT_EQ(now.left(), old.left());
        EXPECT_EQ(now.width(), old.width());
    }
    for (const auto& [label, box] : {std::pair<QWidget*, QWidget*>{dlg.passwordLabel(), dlg.passwordBox()},
                                     std::pair<QWidget*, QWidget*>{dlg.repeatLabel(), dlg.repeatBox()}}) {
        const QRect l = inClient(dlg, label);
        const QRect b = inClient(dlg, box);
        EXPECT_LE(std::abs((l.top() + l.bottom()) - (b.top() + b.bottom())), 1) << "label centred on its box";
    }
    const QRect stretched = inClient(dlg, dlg.descriptionBox());
    EXPECT_EQ(stretched.top(), description.top());
    EXPECT_EQ(stretched.right() + 1, client.width() - 5);
    EXPECT_EQ(stretched.bottom() + 1, inClient(dlg, dlg.passwordBox()).top() - 3);
}

TEST_F(DatabasePropertiesTest, StrongProtectionNeedsAPassword) {
    struct Case {
        Protection given;
        bool chooseStrong;
        QString password;
        bool refused;
    };
    for (const Case& c : {Case{Protection::Compatible, true, QString(), true},
                          Case{Protection::Compatible, true, QStringLiteral("pw"), false},
                          Case{Protection::Strong, false, QString(), false},
                          Case{Protection::Strong, true, QStringLiteral("pw"), false}}) {
        shown.clear();
        dlg.setProtection(c.given);
        EXPECT_EQ(dlg.strongButton()->isChecked(), c.given == Protection::Strong);
        dlg.show();
        QTest::mouseClick(c.chooseStrong ? dlg.strongButton() : dlg.compatibleButton(), Qt::LeftButton, {},
                          QPoint(5, dlg.strongButton()->height() / 2));
        retype(dlg.passwordBox(), c.password);
        retype(dlg.repeatBox(), c.password);
        pressOk();
        EXPECT_EQ(dlg.isVisible(), c.refused);
        if (c.refused) {
            ASSERT_EQ(shown.size(), 1u);
            EXPECT_EQ(shown[0], QStringLiteral("Strong protection needs a password."));
            dlg.hide();
        } else {
            EXPECT_TRUE(shown.empty());
            EXPECT_EQ(dlg.protection(), c.chooseStrong ? Protection::Strong : Protection::Compatible);
        }
    }
}
