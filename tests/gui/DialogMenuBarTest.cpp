// The dialog soft-key bar (handheld) and the label helpers.
#include "gui/DialogMenuBar.h"
#include "core/Edition.h"
#include "gui/GuiHelpers.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

struct Dialog {
    Dialog() {
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(new QLabel(QStringLiteral("text"), &dialog));
        buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
        layout->addWidget(buttons);
        QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
        QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    }
    QDialog dialog;
    QDialogButtonBox* buttons;
};

} // namespace

TEST(DialogMenuBar, ButtonBoxBecomesSoftKeysOnTheHandheldOnly) {
    Dialog d;
    EXPECT_TRUE(CreateDialogMenuBar(&d.dialog, d.buttons));
    d.dialog.show();
    DialogMenuBar* bar = DialogMenuBar::Find(&d.dialog);
    if (!kHandheld) {
        EXPECT_EQ(bar, nullptr);
        EXPECT_TRUE(d.buttons->isVisible());
        return;
    }
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(d.buttons->isVisible());
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->leftButton()->text(), d.buttons->button(QDialogButtonBox::Ok)->text());
    EXPECT_EQ(bar->rightButton()->text(), d.buttons->button(QDialogButtonBox::Cancel)->text());
    // The bar lies along the bottom of the dialog.
    QCoreApplication::processEvents();
    EXPECT_GE(bar->geometry().top(), d.dialog.height() / 2);
}

TEST(DialogMenuBar, SoftKeysRunTheDialogsCommands) {
    if (!kHandheld)
        GTEST_SKIP() << "desktop dialogs keep their buttons";
    {
        Dialog d;
        CreateDialogMenuBar(&d.dialog, d.buttons);
        d.dialog.show();
        DialogMenuBar::Find(&d.dialog)->leftButton()->click();
        EXPECT_EQ(d.dialog.result(), QDialog::Accepted);
    }
    {
        Dialog d;
        CreateDialogMenuBar(&d.dialog, d.buttons);
        d.dialog.show();
        DialogMenuBar::Find(&d.dialog)->rightButton()->click();
        EXPECT_EQ(d.dialog.result(), QDialog::Rejected);
        EXPECT_FALSE(d.dialog.isVisible());
    }
}

TEST(DialogMenuBar, ActionsAndMenusOnTheKeys) {
    QDialog dialog;
    auto* grid = new QGridLayout(&dialog);
    grid->addWidget(new QLabel(QStringLiteral("a")), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("b")), 0, 1);
    QAction done(QStringLiteral("Done"));
    QAction more(QStringLiteral("Menu"));
    QMenu menu;
    menu.addAction(QStringLiteral("Something"));
    more.setMenu(&menu);
    int triggered = 0;
    QObject::connect(&done, &QAction::triggered, [&triggered] { ++triggered; });

    EXPECT_TRUE(CreateDialogMenuBar(&dialog, &done, &more));
    DialogMenuBar* bar = DialogMenuBar::Find(&dialog);
    if (!kHandheld) {
        EXPECT_EQ(bar, nullptr);
        return;
    }
    ASSERT_NE(bar, nullptr);
    bar->leftButton()->click();
    EXPECT_EQ(triggered, 1);
    dialog.show();
    QTest::mouseClick(bar->rightButton(), Qt::LeftButton);
    EXPECT_EQ(QApplication::activePopupWidget(), &menu);
    menu.close();
    // A disabled command does nothing.
    done.setEnabled(false);
    EXPECT_FALSE(bar->leftButton()->isEnabled());
    done.setEnabled(true);
    // Asking again keeps one bar and takes the new keys.
    EXPECT_TRUE(CreateDialogMenuBar(&dialog, nullptr, &done));
    EXPECT_EQ(dialog.findChildren<DialogMenuBar*>().size(), 1);
    EXPECT_FALSE(bar->leftButton()->isEnabled());
    EXPECT_EQ(bar->rightKey(), &done);
}

TEST(DialogMenuBar, DialogWithoutLayoutGetsTheBarToo) {
    QDialog dialog;
    QAction ok(QStringLiteral("OK"));
    EXPECT_TRUE(CreateDialogMenuBar(&dialog, &ok, nullptr));
    if (kHandheld) {
        dialog.resize(200, 150);
        dialog.show();
        QCoreApplication::processEvents();
        DialogMenuBar* bar = DialogMenuBar::Find(&dialog);
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->geometry().bottom(), dialog.height() - 1);
    }
}

TEST(DialogMenuBar, SideBySideLayoutKeepsItsContentAboveTheBar) {
    QDialog dialog;
    auto* row = new QHBoxLayout(&dialog);
    auto* label = new QLabel(QStringLiteral("left"));
    row->addWidget(label);
    QAction ok(QStringLiteral("OK"));
    EXPECT_TRUE(CreateDialogMenuBar(&dialog, &ok, nullptr));
    if (!kHandheld)
        return;
    dialog.resize(240, 160);
    dialog.show();
    QCoreApplication::processEvents();
    DialogMenuBar* bar = DialogMenuBar::Find(&dialog);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->geometry().bottom(), dialog.height() - 1);
    EXPECT_EQ(bar->width(), dialog.width());
    EXPECT_LE(label->geometry().bottom(), bar->geometry().top());
    dialog.resize(300, 220);
    QCoreApplication::processEvents();
    EXPECT_EQ(bar->geometry().bottom(), 219);
    EXPECT_EQ(bar->width(), 300);
}

TEST(GuiHelpers, MakeLabelBoldKeepsFamilyAndSize) {
    QLabel label(QStringLiteral("Caption"));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(13);
    label.setFont(font);
    MakeLabelBold(&label);
    EXPECT_EQ(label.font().weight(), QFont::Bold);
    EXPECT_EQ(label.font().pointSize(), 13);
    EXPECT_EQ(label.font().family(), font.family());
    MakeLabelBold(nullptr); // no control, nothing to do
}

TEST(GuiHelpers, DocumentsFolderIsTheUsersDocuments) {
    EXPECT_EQ(DocumentsFolder(), QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    EXPECT_FALSE(DocumentsFolder().isEmpty());
}
