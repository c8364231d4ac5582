// The name entry dialog in both editions.
#include "core/Edition.h"
#include "dialogs/CTextDlg.h"
#include "gui/DialogMenuBar.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// Presses the dialog's OK (the soft key on the handheld) once it runs.
void pressOkLater(CTextDlg& dialog, const QString& typed = QString(), bool replace = false) {
    QTimer::singleShot(0, &dialog, [&dialog, typed, replace] {
        if (replace)
            dialog.edit()->clear();
        if (!typed.isEmpty())
            QTest::keyClicks(dialog.edit(), typed);
        if (kHandheld)
            DialogMenuBar::Find(&dialog)->leftButton()->click();
        else
            dialog.buttons()->button(QDialogButtonBox::Ok)->click();
    });
}

} // namespace

TEST(TextDlg, ShowsTitleBoldLabelAndTheText) {
    CTextDlg dialog;
    dialog.setText(QStringLiteral("old.nte"));
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Enter Name"));
    EXPECT_EQ(dialog.label()->text(), QStringLiteral("Enter name:"));
    EXPECT_EQ(dialog.label()->font().weight(), QFont::Bold);
    EXPECT_EQ(dialog.edit()->text(), QStringLiteral("old.nte"));
}

TEST(TextDlg, OkOnAnEmptyBoxReturnsOkWithEmptyText) {
    CTextDlg dialog;
    dialog.setText(QStringLiteral("something"));
    pressOkLater(dialog, QString(), true);
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_TRUE(dialog.text().isEmpty());
}

TEST(TextDlg, OkReadsTheEditedText) {
    CTextDlg dialog;
    dialog.setText(QStringLiteral("a"));
    pressOkLater(dialog, QStringLiteral("b.nte"), true);
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(dialog.text(), QStringLiteral("b.nte"));
}

TEST(TextDlg, CancelKeepsTheOldText) {
    CTextDlg dialog;
    dialog.setText(QStringLiteral("keep"));
    QTimer::singleShot(0, &dialog, [&dialog] {
        QTest::keyClicks(dialog.edit(), QStringLiteral("zzz"));
        dialog.reject();
    });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(dialog.text(), QStringLiteral("keep"));
}

TEST(TextDlg, EditStretchesToFivePixelsFromTheRightEdge) {
    CTextDlg dialog;
    dialog.show();
    for (int width : {300, 520}) {
        dialog.resize(width, dialog.height());
        QCoreApplication::processEvents();
        const QRect edit = dialog.edit()->geometry();
        EXPECT_EQ(edit.x() + edit.width(), dialog.width() - 5) << width;
    }
}

TEST(TextDlg, EditionDecidesButtonsOrSoftKeys) {
    CTextDlg dialog;
    dialog.show();
    if (kHandheld) {
        EXPECT_FALSE(dialog.buttons()->isVisible());
        DialogMenuBar* bar = DialogMenuBar::Find(&dialog);
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->leftButton()->text(), QStringLiteral("OK"));
        EXPECT_EQ(bar->rightButton()->text(), QStringLiteral("Cancel"));
    } else {
        EXPECT_TRUE(dialog.buttons()->isVisible());
        EXPECT_EQ(DialogMenuBar::Find(&dialog), nullptr);
    }
}
