// The about box of both editions: what it shows and the three ways to close it.
#include "app/CAboutDlg.h"
#include "core/Edition.h"
#include "gui/DialogMenuBar.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

TEST(AboutDlg, ShowsTheProgramIconAndVersion) {
    CAboutDlg dlg;
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("About Marrowick Sealbook"));
    EXPECT_EQ(dlg.textLabel()->text(), QStringLiteral("Marrowick Sealbook 4.5"));
    EXPECT_FALSE(dlg.iconLabel()->pixmap().isNull());
    EXPECT_EQ(dlg.iconLabel()->pixmap().size(), QSize(32, 32));
    if (kHandheld) {
        EXPECT_FALSE(dlg.buttons()->isVisible());
        DialogMenuBar* bar = DialogMenuBar::Find(&dlg);
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->leftButton()->text(), QStringLiteral("OK"));
    } else {
        EXPECT_TRUE(dlg.buttons()->isVisible());
        EXPECT_EQ(DialogMenuBar::Find(&dlg), nullptr);
    }
}

TEST(AboutDlg, ModalAndClosedByEnterEscapeOrTheCloseBox) {
    enum class Way { Enter, Escape, CloseBox };
    const struct {
        Way way;
        int result;
    } cases[] = {{Way::Enter, QDialog::Accepted},
                 {Way::Escape, QDialog::Rejected},
                 {Way::CloseBox, QDialog::Rejected}};
    for (const auto& c : cases) {
        CAboutDlg dlg;
        bool wasModal = false;
        QTimer::singleShot(0, &dlg, [&] {
            wasModal = QApplication::activeModalWidget() == &dlg;
            switch (c.way) {
            case Way::Enter:
                QTest::keyClick(&dlg, Qt::Key_Return);
                break;
            case Way::Escape:
                QTest::keyClick(&dlg, Qt::Key_Escape);
                break;
            case Way::CloseBox:
                dlg.close();
                break;
            }
        });
        EXPECT_EQ(dlg.exec(), c.result);
        EXPECT_TRUE(wasModal);
        EXPECT_FALSE(dlg.isVisible());
    }
}
