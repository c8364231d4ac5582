// Return in a box of a small dialog is OK in both editions, though the
// handheld's OK is a soft key and no button at all.
#include "dialogs/CPasswordDlg.h"
#include "dialogs/CTextDlg.h"

#include <QApplication>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

TEST(ReturnKeyTest, ReturnInTheBoxIsOk) {
    struct Case {
        const char* what;
        std::function<QDialog*()> make;
        std::function<QString(QDialog&)> value;
    };
    const Case cases[] = {
        {"password", [] { return new CPasswordDlg; },
         [](QDialog& d) { return static_cast<CPasswordDlg&>(d).password(); }},
        {"name entry", [] { return new CTextDlg; },
         [](QDialog& d) { return static_cast<CTextDlg&>(d).text(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<QDialog> dialog(c.make());
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        QWidget* box = QApplication::focusWidget();
        ASSERT_NE(box, nullptr);
        QTest::keyClicks(box, QStringLiteral("Opal7"));
        QTest::keyClick(box, Qt::Key_Return);
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(c.value(*dialog), QStringLiteral("Opal7"));
    }
}
