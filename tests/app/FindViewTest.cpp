// Find through the real tree view, its find dialog and the main window's
// commands: the shared table of cases on the tree as shown, matches inside
// collapsed folders, Find against Find Next, and items shown out of order
// after New Note.

#include "AppFixture.h"
#include "TreeTestSupport.h"

#include "app/CNotesDoc.h"
#include "app/CNotesView.h"
#include "app/PreviewTarget.h"
#include "core/Edition.h"
#include "dialogs/CFindDlg.h"
#include "dialogs/CNotePropNotes.h"
#include "dialogs/CNotePropSheet.h"
#include "gui/DialogMenuBar.h"
#include "tests/support/FindCases.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

class RecordingPreview : public PreviewTarget {
public:
    void ShowNode(const NotesMgr*, const NoteRecord* node) override { last = node ? node->nodeId : -1; }
    int32_t last = -1;
};

class FindViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ids = FillFindSample(doc.notes());
        previousBoxes =
            SetMessageBoxHandler([this](QWidget*, const QString& text, MessageIcon, MessageButtons) {
                messages << text;
                return MessageAnswer::Ok;
            });
        previousRunner = SetDialogRunner([this](QDialog& dialog) {
            auto* sheet = qobject_cast<CNotePropSheet*>(&dialog);
            if (!sheet)
                return int(QDialog::Rejected);
            sheet->show();
            sheet->notesPage()->titleBox()->setText(newTitle);
            sheet->accept();
            return sheet->result();
        });
        view = std::make_unique<CNotesView>(doc);
        view->setPreviewTarget(&preview);
        view->resize(300, 400);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        view->Fill();
    }
    void TearDown() override {
        view.reset();
        SetMessageBoxHandler(previousBoxes);
        SetDialogRunner(previousRunner);
    }

    CFindDlg& Dialog() { return *view->findDialog(); }
    void Fill(const std::u16string& text, int scope, bool matchCase = false, bool wholeWord = false) {
        Dialog().findWhatEdit()->setText(QString::fromStdU16String(text));
        Dialog().scopeList()->setCurrentIndex(scope);
        Dialog().matchCaseBox()->setChecked(matchCase);
        Dialog().wholeWordBox()->setChecked(wholeWord);
    }
    void PressFind() {
        if (kHandheld)
            DialogMenuBar::Find(&Dialog())->leftButton()->click();
        else
            QTest::mouseClick(Dialog().findButton(), Qt::LeftButton);
    }
    std::u16string Selected() {
        const NoteRecord* node = doc.notes().FindNode(view->selectedNodeId());
        return node ? node->title : u"(nothing)";
    }

    CNotesDoc doc{nullptr};
    FindSample ids;
    std::unique_ptr<CNotesView> view;
    RecordingPreview preview;
    QStringList messages;
    QString newTitle;
    MessageBoxHandler previousBoxes;
    DialogRunnerHandler previousRunner;
};

TEST_F(FindViewTest, TheTableOfCasesOnTheShownTree) {
    for (const FindCase& c : FindCases()) {
        view->Fill(); // every folder collapsed again, nothing selected
        view->OnFind();
        ASSERT_TRUE(Dialog().isVisible());
        EXPECT_EQ(view->selectedNodeId(), 0) << c.name;
        Fill(c.text, c.scope, c.matchCase, c.wholeWord);
        for (size_t i = 0; i < c.steps.size(); ++i) {
            messages.clear();
            const std::u16string before = Selected();
            PressFind();
            if (c.steps[i] == kMiss) {
                EXPECT_EQ(messages, QStringList{"The specified text was not found."}) << c.name << " " << i;
                EXPECT_EQ(Selected(), before) << c.name << " " << i;
            } else {
                EXPECT_TRUE(messages.isEmpty()) << c.name << " " << i;
                EXPECT_EQ(Selected(), c.steps[i]) << c.name << " " << i;
            }
        }
    }
}

TEST_F(FindViewTest, AMatchInACollapsedFolderOpensItAndShowsTheNote) {
    const QModelIndex archive = view->notesModel().indexOf(ids.archive);
    ASSERT_FALSE(view->isExpanded(archive));
    view->OnFind();
    Fill(u"treasure", FindInBody);
    PressFind();
    EXPECT_EQ(view->selectedNodeId(), ids.deepSecret);
    EXPECT_TRUE(view->isExpanded(archive));
    EXPECT_EQ(preview.last, ids.deepSecret);
}

TEST_F(FindViewTest, FindNextBeforeAnySearchOpensTheDialogAndLaterContinues) {
    EXPECT_EQ(view->findDialog(), nullptr);
    view->setCurrentIndex(view->notesModel().indexOf(ids.work));
    view->OnFindNext();
    ASSERT_NE(view->findDialog(), nullptr);
    EXPECT_TRUE(Dialog().isVisible());
    EXPECT_EQ(view->selectedNodeId(), 0);
    Fill(u"note", FindInTitle);
    PressFind();
    EXPECT_EQ(Selected(), u"my note");
    // Hidden, the dialog still steps on from the selection, which the user may move.
    Dialog().hide();
    view->OnFindNext();
    EXPECT_EQ(Selected(), u"note-book");
    EXPECT_FALSE(Dialog().isVisible());
    view->setCurrentIndex(view->notesModel().indexOf(ids.bodyOnly));
    view->OnFindNext();
    EXPECT_EQ(Selected(), u"my note");
    // Find again starts at the top, with the same dialog and its settings.
    CFindDlg* first = view->findDialog();
    view->OnFind();
    EXPECT_EQ(view->findDialog(), first);
    EXPECT_EQ(view->selectedNodeId(), 0);
    EXPECT_EQ(Dialog().scopeList()->currentIndex(), FindInTitle);
}

TEST_F(FindViewTest, TheWalkFollowsTheTreeAsShown) {
    // A new note is shown last in its folder until the next fill, and found there.
    view->setCurrentIndex(view->notesModel().indexOf(ids.work));
    newTitle = QStringLiteral("A note");
    view->OnNewNote();
    ASSERT_EQ(Selected(), u"A note");
    view->OnFind();
    Fill(u"note", FindInTitle, false, true);
    PressFind();
    EXPECT_EQ(Selected(), u"my note");
    PressFind();
    EXPECT_EQ(Selected(), u"note-book");
    PressFind();
    EXPECT_EQ(Selected(), u"A note");
    // After a fill it takes its sorted place, first among the notes.
    view->Fill();
    view->OnFind();
    PressFind();
    EXPECT_EQ(Selected(), u"A note");
}

class FindCommandTest : public AppFixture {};

TEST_F(FindCommandTest, FindAndFindNextAreEnabledAndReachTheView) {
    ASSERT_TRUE(start({makeDatabase("find.nte", u"")}));
    frame().view()->Fill();
    QAction* find = frame().action(Command::Find);
    ASSERT_NE(find, nullptr);
    EXPECT_TRUE(find->isEnabled());
    if (!kHandheld) {
        EXPECT_EQ(find->shortcut(), QKeySequence(QStringLiteral("Ctrl+F")));
        ASSERT_NE(frame().action(Command::FindNext), nullptr);
        EXPECT_TRUE(frame().action(Command::FindNext)->isEnabled());
        EXPECT_EQ(frame().action(Command::FindNext)->shortcut(), QKeySequence(Qt::Key_F3));
    }
    frame().Execute(Command::FindNext);
    CFindDlg* dialog = frame().view()->findDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    dialog->findWhatEdit()->setText(QStringLiteral("Note"));
    dialog->scopeList()->setCurrentIndex(FindInTitle);
    frame().Execute(Command::FindNext);
    EXPECT_EQ(notes().FindNode(frame().view()->selectedNodeId())->title, u"Note");
    frame().Execute(Command::Find);
    EXPECT_EQ(frame().view()->selectedNodeId(), 0);
}

} // namespace
