// The Find dialog of both editions over a stand-in for the tree view: the
// shared table of find cases typed into the real dialog, Find against Find
// Next, what it keeps between uses, the wait cursor and its texts.

#include "core/Edition.h"
#include "core/NotesMgr.h"
#include "dialogs/CFindDlg.h"
#include "dialogs/FindTarget.h"
#include "gui/DialogMenuBar.h"
#include "gui/MessageBox.h"
#include "tests/support/FindCases.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// The tree as the dialog sees it: a selection and what selecting did.
class StandInTree : public FindTarget {
public:
    StandInTree() { FillFindSample(mgr); }

    TreeListing FindWalkOrder() const override {
        const QCursor* cursor = QApplication::overrideCursor();
        cursorDuringStep = cursor ? cursor->shape() : Qt::ArrowCursor;
        return ListTree(mgr);
    }
    int32_t FindSelection() const override { return selected; }
    void SelectDatabaseItem() override { selected = 0; }
    void SelectFoundNode(int32_t nodeId) override { selected = nodeId; }

    std::u16string SelectedTitle() const {
        const NoteRecord* node = mgr.FindNode(selected);
        return node ? node->title : u"(nothing)";
    }

    NotesMgr mgr{nullptr};
    int32_t selected = -1;
    mutable Qt::CursorShape cursorDuringStep = Qt::ArrowCursor;
};

class FindDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous =
            SetMessageBoxHandler([this](QWidget*, const QString& text, MessageIcon icon, MessageButtons) {
                messages << text;
                icons.push_back(icon);
                return MessageAnswer::Ok;
            });
    }
    void TearDown() override { SetMessageBoxHandler(previous); }

    // Fills the dialog as a user would.
    static void Fill(CFindDlg& dlg, const std::u16string& text, int scope, bool matchCase, bool wholeWord) {
        dlg.findWhatEdit()->clear();
        QTest::keyClicks(dlg.findWhatEdit(), QString::fromStdU16String(text));
        dlg.scopeList()->setCurrentIndex(scope);
        dlg.matchCaseBox()->setChecked(matchCase);
        dlg.wholeWordBox()->setChecked(wholeWord);
    }

    // Presses Find: the button on the desktop, the left soft key on the handheld.
    static void PressFind(CFindDlg& dlg) {
        if (kHandheld)
            DialogMenuBar::Find(&dlg)->leftButton()->click();
        else
            QTest::mouseClick(dlg.findButton(), Qt::LeftButton);
    }

    StandInTree tree;
    QStringList messages;
    std::vector<MessageIcon> icons;
    MessageBoxHandler previous;
};

TEST_F(FindDlgTest, CancelAndEscapeHideTheDialogAndFindNextStillSteps) {
    CFindDlg dlg(tree);
    dlg.Show();
    Fill(dlg, u"note", FindInTitle, false, false);
    PressFind(dlg);
    EXPECT_EQ(tree.SelectedTitle(), u"my note");
    if (kHandheld)
        DialogMenuBar::Find(&dlg)->rightButton()->click();
    else
        QTest::mouseClick(dlg.cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(dlg.isVisible());
    dlg.FindNext();
    EXPECT_EQ(tree.SelectedTitle(), u"note-book");
    dlg.Show();
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(FindDlgTest, ScopeAndCheckBoxesKeepTheirValuesAcrossUses) {
    CFindDlg dlg(tree);
    EXPECT_EQ(dlg.scopeList()->currentIndex(), FindInTitleAndBody);
    dlg.Show();
    Fill(dlg, u"zebra", FindInBody, true, true);
    dlg.hide();
    dlg.Show();
    EXPECT_EQ(dlg.scopeList()->currentIndex(), FindInBody);
    EXPECT_TRUE(dlg.matchCaseBox()->isChecked());
    EXPECT_TRUE(dlg.wholeWordBox()->isChecked());
}

TEST_F(FindDlgTest, EnterFindsWithTheWaitCursorAndBlankTextDoesNothing) {
    CFindDlg dlg(tree);
    dlg.Show();
    Fill(dlg, u"   ", FindInTitleAndBody, false, false);
    QTest::keyClick(dlg.findWhatEdit(), Qt::Key_Return);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(tree.selected, 0);
    EXPECT_TRUE(dlg.isVisible());

    Fill(dlg, u"treasure", FindInTitleAndBody, false, false);
    QTest::keyClick(dlg.findWhatEdit(), Qt::Key_Return);
    EXPECT_EQ(tree.SelectedTitle(), u"Deep secret");
    EXPECT_EQ(tree.cursorDuringStep, Qt::WaitCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // Enter never closes the dialog.
    EXPECT_TRUE(dlg.isVisible());
}

TEST_F(FindDlgTest, TextsOfTheEdition) {
    CFindDlg dlg(tree);
    dlg.Show();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Find"));
    QStringList labels;
    for (const QLabel* label : dlg.findChildren<QLabel*>())
        labels << label->text();
    EXPECT_TRUE(labels.contains(QStringLiteral("Find what:")));
    EXPECT_TRUE(labels.contains(QStringLiteral("Find where:")));
    QStringList scopes;
    for (int i = 0; i < dlg.scopeList()->count(); ++i)
        scopes << dlg.scopeList()->itemText(i);
    EXPECT_EQ(scopes, (QStringList{"Title only", "Description only", "Title and Description"}));
    EXPECT_EQ(dlg.matchCaseBox()->text(), QStringLiteral("Match case"));
    EXPECT_EQ(dlg.wholeWordBox()->text(),
              kHandheld ? QStringLiteral("Whole word only") : QStringLiteral("Match whole word only"));
    EXPECT_TRUE(dlg.findButton()->isDefault());
    EXPECT_FALSE(dlg.isModal());
    DialogMenuBar* bar = DialogMenuBar::Find(&dlg);
    EXPECT_EQ(bar != nullptr, kHandheld);
    if (bar) {
        EXPECT_EQ(bar->leftKey()->text(), QStringLiteral("Find"));
        EXPECT_EQ(bar->rightKey()->text(), QStringLiteral("Cancel"));
    }
}

} // namespace
