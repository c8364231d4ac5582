// The sheet as a whole: its pages and tab images per kind of node, the page
// cycle (a page that refuses to be left keeps its tab), OK and Cancel, the
// Notes and Icons pages, and what differs on the handheld.

#include "NotePropFixture.h"

#include "core/Edition.h"
#include "core/Texts.h"
#include "dialogs/CNotePropData.h"
#include "dialogs/CNotePropIcon.h"
#include "dialogs/CNotePropNotes.h"
#include "dialogs/DialogTexts.h"
#include "editor/CNoteEditor.h"
#include "editor/SpellEngine.h"
#include "gui/CIconsList.h"
#include "gui/CStaticEx.h"
#include "gui/DialogMenuBar.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace {

QString ExpectedEmptyTitleText() {
    return kHandheld ? QString::fromUtf8(DialogTexts::emptyTitlePad) : QString::fromUtf16(Texts::emptyTitle);
}

QStringList TabTexts(const QTabBar* bar) {
    QStringList texts;
    for (int i = 0; i < bar->count(); ++i)
        texts << bar->tabText(i);
    return texts;
}

} // namespace

class NotePropSheetTest : public NotePropFixture {};

TEST_F(NotePropSheetTest, PagesAndTabImagesFollowTheKindOfNode) {
    // A blank record is a folder by default; the sheet marks it as what the caller says.
    NoteRecord note;
    ASSERT_EQ(note.isFolder, 1);
    CNotePropSheet noteSheet(notes, note, false);
    EXPECT_EQ(noteSheet.windowTitle(), QStringLiteral("Note"));
    EXPECT_EQ(TabTexts(noteSheet.tabBar()), (QStringList{"Notes", "Data", "File", "Icons", "Reminder"}));
    const int noteImages[] = {0, 1, 4, 2, 5};
    for (int tab = 0; tab < 5; ++tab) {
        EXPECT_EQ(noteSheet.tabImageIndex(tab), noteImages[tab]);
        EXPECT_EQ(noteSheet.tabBar()->tabIcon(tab).cacheKey(),
                  noteSheet.tabImages()[noteImages[tab]].cacheKey());
    }
    EXPECT_EQ(noteSheet.tabImages().size(), 6);
    EXPECT_EQ(note.isFolder, 0);

    NoteRecord folder = MakeRecord(false, u"Cards");
    CNotePropSheet folderSheet(notes, folder, true);
    EXPECT_EQ(TabTexts(folderSheet.tabBar()), (QStringList{"Notes", "Icons"}));
    EXPECT_EQ(folderSheet.pageCount(), 2);
    EXPECT_EQ(folderSheet.tabImageIndex(0), 0);
    EXPECT_EQ(folderSheet.tabImageIndex(1), 2);
    EXPECT_EQ(folderSheet.tabBar()->tabIcon(1).cacheKey(), folderSheet.tabImages()[2].cacheKey());
    EXPECT_EQ(folderSheet.dataPage(), nullptr);
    EXPECT_EQ(folderSheet.filePage(), nullptr);
    EXPECT_EQ(folderSheet.reminderPage(), nullptr);
    EXPECT_EQ(folder.isFolder, 1);
}

TEST_F(NotePropSheetTest, OkOnADefaultIconStoresTheFirstRealIconOfItsKind) {
    NoteRecord folder = MakeRecord(true);
    ASSERT_EQ(folder.iconIndex, -1);
    Open(folder, true);
    sheet->accept();
    EXPECT_EQ(sheet->result(), QDialog::Accepted);
    EXPECT_EQ(folder.iconIndex, 1);

    NoteRecord note = MakeRecord(false);
    Open(note, false);
    // The icon box already shows the icon the note will get.
    EXPECT_FALSE(sheet->notesPage()->iconBox()->GetIcon().isNull());
    sheet->accept();
    EXPECT_EQ(sheet->result(), QDialog::Accepted);
    EXPECT_EQ(note.iconIndex, 16);

    // An icon already chosen is kept.
    NoteRecord chosen = MakeRecord(false);
    chosen.iconIndex = 42;
    Open(chosen, false);
    sheet->accept();
    EXPECT_EQ(chosen.iconIndex, 42);
}

TEST_F(NotePropSheetTest, EmptyTitleKeepsTheNotesPage) {
    NoteRecord note = MakeRecord(false);
    Open(note, false);
    QLineEdit* title = sheet->notesPage()->titleBox();
    EXPECT_EQ(title->text(), QStringLiteral("Bank"));
    title->clear();

    EXPECT_FALSE(ClickTab(1));
    EXPECT_EQ(sheet->tabBar()->currentIndex(), 0);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], ExpectedEmptyTitleText());
    EXPECT_EQ(icons[0], MessageIcon::Exclamation);
    EXPECT_FALSE(sheet->dataPage()->WasShown());

    // OK refuses too and the sheet stays open.
    sheet->accept();
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(messages.size(), 2);

    QTest::keyClicks(title, "Savings");
    EXPECT_TRUE(ClickTab(1));
    EXPECT_EQ(note.title, u"Savings");
    EXPECT_TRUE(sheet->dataPage()->WasShown());
}

TEST_F(NotePropSheetTest, LeavingTheNotesPageStoresTitleBodyAndAFreshTime) {
    NoteRecord note = MakeRecord(false);
    note.modifiedTime = NoteTimestamp{2003, 3, 3, 5, 14, 7, 0, 0};
    note.body = u"plain old body";
    Open(note, false);
    EXPECT_TRUE(sheet->notesPage()->timeLabel()->text().startsWith(QStringLiteral("02:07 PM, ")))
        << sheet->notesPage()->timeLabel()->text().toStdString();
    CNoteEditor* editor = sheet->notesPage()->editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("plain old body"));

    editor->moveCursor(QTextCursor::End);
    QTest::keyClicks(editor, " and more");
    // The title has the focus with its text selected: the cursor goes to its end first.
    sheet->notesPage()->titleBox()->end(false);
    QTest::keyClicks(sheet->notesPage()->titleBox(), " 2");
    const NoteTimestamp before = NoteTimestamp::now();
    ASSERT_TRUE(ClickTab(3));
    EXPECT_EQ(note.title, u"Bank 2");
    // The body comes back as RTF holding the typed text.
    EXPECT_TRUE(CNoteEditor::IsRtfBody(note.body));
    EXPECT_EQ(QString::fromStdU16String(CNoteEditor::BodyToPlainText(note.body)).trimmed(),
              QStringLiteral("plain old body and more"));
    EXPECT_GE(CompareTimestamps(note.modifiedTime, before), 0);

    // Leaving the page renews the time even without a change.
    note.modifiedTime = NoteTimestamp{2003, 3, 3, 5, 14, 7, 0, 0};
    ASSERT_TRUE(ClickTab(0));
    EXPECT_TRUE(sheet->notesPage()->timeLabel()->text().startsWith(QStringLiteral("02:07 PM")));
    ASSERT_TRUE(ClickTab(1));
    EXPECT_EQ(note.modifiedTime.year, before.year);
}

TEST_F(NotePropSheetTest, CancelRunsNoLeaveStepAndUnvisitedPagesWriteNothing) {
    NoteRecord note = MakeRecord(false);
    note.templateId = 1;
    note.fieldValues[0] = u"J. Smith";
    const NoteTimestamp old{2003, 3, 3, 5, 14, 7, 0, 0};
    note.modifiedTime = old;
    Open(note, false);
    sheet->notesPage()->titleBox()->setText(QStringLiteral("Changed"));
    sheet->reject();
    EXPECT_EQ(sheet->result(), QDialog::Rejected);
    EXPECT_EQ(note.title, u"Bank");
    EXPECT_EQ(note.modifiedTime, old);

    // OK on the Notes page leaves only that page: the Data page never ran.
    Open(note, false);
    sheet->accept();
    EXPECT_EQ(note.templateId, 1);
    EXPECT_EQ(note.fieldValues[0], u"J. Smith");
    EXPECT_NE(note.modifiedTime, old);
}

TEST_F(NotePropSheetTest, IconsPageShowsAndTakesTheChosenIcon) {
    NoteRecord folder = MakeRecord(true);
    folder.iconIndex = 3;
    Open(folder, true);
    ASSERT_TRUE(ClickTab(1));
    CIconsList* grid = sheet->iconPage()->grid();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->imageCount(), 16);
    EXPECT_EQ(grid->GetSelection(), 3);
    // The grid fills the page less 5-pixel margins.
    EXPECT_EQ(grid->geometry(), sheet->iconPage()->rect().adjusted(5, 5, -5, -5));

    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(0, 2).center());
    ASSERT_EQ(grid->GetSelection(), 2);
    sheet->accept();
    EXPECT_EQ(folder.iconIndex, 2);

    NoteRecord note = MakeRecord(false);
    Open(note, false);
    ASSERT_TRUE(ClickTab(3));
    EXPECT_EQ(sheet->iconPage()->grid()->imageCount(), 80);
    // The Notes page turned the default icon into a real one before the grid showed it.
    EXPECT_EQ(sheet->iconPage()->grid()->GetSelection(), 16);
}

TEST_F(NotePropSheetTest, NotesPageLayoutKeepsFivePixelMargins) {
    NoteRecord note = MakeRecord(false);
    Open(note, false);
    sheet->resize(500, 480);
    QCoreApplication::processEvents();
    CNotePropNotes* page = sheet->notesPage();
    const int right = page->width() - 5;
    EXPECT_EQ(page->titleBox()->geometry().right() + 1, right);
    EXPECT_EQ(page->timeLabel()->geometry().right() + 1, right);
    const QRect editor = page->editor()->geometry();
    EXPECT_EQ(editor.left(), 5);
    EXPECT_EQ(editor.top(), page->titleBox()->geometry().bottom() + 1 + 3);
    EXPECT_EQ(editor.right() + 1, right);
    EXPECT_EQ(editor.bottom() + 1, page->height() - 5);
}

TEST_F(NotePropSheetTest, EditionGivesButtonsOrSoftKeys) {
    NoteRecord note = MakeRecord(false);
    Open(note, false);
    DialogMenuBar* bar = DialogMenuBar::Find(sheet.get());
    if (!kHandheld) {
        EXPECT_EQ(bar, nullptr);
        EXPECT_TRUE(sheet->buttonBox()->isVisible());
        EXPECT_NE(sheet->buttonBox()->button(QDialogButtonBox::Ok), nullptr);
        EXPECT_EQ(sheet->buttonBox()->button(QDialogButtonBox::Apply), nullptr);
        sheet->notesPage()->titleBox()->clear();
        QTest::mouseClick(sheet->buttonBox()->button(QDialogButtonBox::Ok), Qt::LeftButton);
        EXPECT_TRUE(sheet->isVisible());
        EXPECT_EQ(messages, QStringList{ExpectedEmptyTitleText()});
        sheet->notesPage()->titleBox()->setText(QStringLiteral("Bank"));
        QTest::mouseClick(sheet->buttonBox()->button(QDialogButtonBox::Ok), Qt::LeftButton);
        EXPECT_EQ(sheet->result(), QDialog::Accepted);
        return;
    }
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(sheet->buttonBox()->isVisible());
    ASSERT_NE(bar->leftKey(), nullptr);
    ASSERT_NE(bar->rightKey(), nullptr);
    // A refused leave step during the soft-key OK keeps the sheet open.
    sheet->notesPage()->titleBox()->clear();
    bar->leftKey()->trigger();
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(messages, QStringList{ExpectedEmptyTitleText()});
    sheet->notesPage()->titleBox()->setText(QStringLiteral("Bank"));
    bar->leftKey()->trigger();
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(sheet->result(), QDialog::Accepted);
    EXPECT_EQ(note.iconIndex, 16);

    Open(note, false);
    DialogMenuBar::Find(sheet.get())->rightKey()->trigger();
    EXPECT_EQ(sheet->result(), QDialog::Rejected);
}

TEST_F(NotePropSheetTest, ClosingTheSheetUnloadsTheSpellingDictionary) {
    NoteRecord note = MakeRecord(false);
    Open(note, false);
    SpellEngine::LoadDictionary(QStringLiteral("en_US"));
    ASSERT_TRUE(SpellEngine::IsLoaded());
    sheet->accept();
    sheet.reset();
    EXPECT_FALSE(SpellEngine::IsLoaded());
}
