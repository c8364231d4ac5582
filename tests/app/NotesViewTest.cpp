// The tree view driven as a user drives it: the commands with the property
// sheet and the questions answered through the seams, double click, Enter,
// the context menu request, the rebuild after an update, and what the
// selection shows in the preview.

#include "TreeTestSupport.h"

#include "app/CNotesDoc.h"
#include "app/CNotesView.h"
#include "app/PreviewTarget.h"
#include "core/Edition.h"
#include "core/Texts.h"
#include "dialogs/CNotePropNotes.h"
#include "dialogs/CNotePropSheet.h"
#include "editor/CNoteEditor.h"
#include "gui/DialogRunner.h"
#include "gui/MessageBox.h"

#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace treetest;

namespace {

// Records what the view asks the preview to show: a node id, or -1 for nothing.
class RecordingPreview : public PreviewTarget {
public:
    void ShowNode(const NotesMgr*, const NoteRecord* node) override {
        shown.push_back(node ? node->nodeId : -1);
    }
    std::vector<int32_t> shown;
};

struct Box {
    QString text;
    MessageIcon icon;
    MessageButtons buttons;
};

class NotesViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        previousRunner = SetDialogRunner([this](QDialog& dialog) { return Answer(dialog); });
        previousBoxes = SetMessageBoxHandler(
            [this](QWidget*, const QString& text, MessageIcon icon, MessageButtons buttons) {
                boxes.push_back({text, icon, buttons});
                return boxAnswer;
            });
        view = std::make_unique<CNotesView>(doc);
        view->setPreviewTarget(&preview);
        view->resize(320, 480);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        view->Fill(); // now, rather than when the rebuild timer would
    }
    void TearDown() override {
        view.reset();
        SetDialogRunner(previousRunner);
        SetMessageBoxHandler(previousBoxes);
    }

    // The property sheet is shown, given `sheetTitle` when set, and ended with
    // OK or Cancel; any other dialog is cancelled.
    int Answer(QDialog& dialog) {
        dialogs << QString::fromLatin1(dialog.metaObject()->className());
        auto* sheet = qobject_cast<CNotePropSheet*>(&dialog);
        if (!sheet)
            return QDialog::Rejected;
        sheet->show();
        if (!sheetTitle.isEmpty())
            sheet->notesPage()->titleBox()->setText(sheetTitle);
        if (!acceptSheet) {
            sheet->reject();
            return QDialog::Rejected;
        }
        sheet->accept();
        return sheet->result();
    }

    NotesMgr& notes() { return doc.notes(); }
    NotesTreeModel& model() { return view->notesModel(); }
    QModelIndex item(int32_t id) { return model().indexOf(id); }
    void Select(int32_t id) {
        if (id < 0)
            view->selectionModel()->clear();
        else
            view->setCurrentIndex(item(id));
    }
    // Press, release, double click, release: what a double click sends.
    void DoubleClick(int32_t id) {
        const QPoint at = Centre(id);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
    }
    QPoint Centre(int32_t id) {
        view->scrollTo(item(id));
        return view->visualRect(item(id)).center();
    }
    void Forget() {
        doc.setModified(false);
        dialogs.clear();
        boxes.clear();
        preview.shown.clear();
    }

    CNotesDoc doc{nullptr};
    std::unique_ptr<CNotesView> view;
    RecordingPreview preview;
    QStringList dialogs;
    QString sheetTitle;
    bool acceptSheet = true;
    std::vector<Box> boxes;
    MessageAnswer boxAnswer = MessageAnswer::Ok;
    DialogRunnerHandler previousRunner;
    MessageBoxHandler previousBoxes;
};

} // namespace

TEST_F(NotesViewTest, NewNodeGoesIntoTheSelectedFolderOrBesideTheSelectedNoteLastAndSelected) {
    const int32_t cards = AddFolder(notes(), 0, u"Cards");
    const int32_t visa = AddNote(notes(), cards, u"Visa");
    const int32_t zed = AddNote(notes(), cards, u"Zed");
    struct Case {
        const char* name;
        bool folder;
        int32_t selected;
        int32_t parent;
    };
    const Case cases[] = {
        {"New Note with a note selected makes a sibling", false, zed, cards},
        {"New Folder with a note selected goes beside the note", true, visa, cards},
        {"New Folder on the database item", true, 0, 0},
        {"New Note on a folder", false, cards, cards},
    };
    QSignalSpy modified(&doc, &CNotesDoc::modifiedChanged);
    sheetTitle = QStringLiteral("Aardvark"); // sorts before every sibling
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        view->Fill();
        view->collapseAll();
        Select(c.selected);
        Forget();
        modified.clear();
        c.folder ? view->OnNewFolder() : view->OnNewNote();

        EXPECT_EQ(dialogs, QStringList{"CNotePropSheet"});
        const int32_t id = notes().nextNodeId - 1;
        const NoteRecord* node = notes().FindNode(id);
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->parentId, c.parent);
        EXPECT_EQ(node->isFolder, c.folder ? 1 : 0);
        EXPECT_EQ(node->title, u"Aardvark");
        if (!c.folder) {
            EXPECT_EQ(CNoteEditor::BodyToPlainText(node->body),
                      CNoteEditor::BodyToPlainText(CNoteEditor::LoadStarterText()));
        }
        const QModelIndex parent = item(c.parent);
        EXPECT_EQ(item(id).parent(), parent);
        EXPECT_EQ(item(id).row(), model().rowCount(parent) - 1);
        EXPECT_TRUE(view->isExpanded(parent));
        EXPECT_EQ(view->selectedNodeId(), id);
        ASSERT_FALSE(preview.shown.empty());
        EXPECT_EQ(preview.shown.back(), id);
        ASSERT_EQ(modified.count(), 1);
        EXPECT_TRUE(modified.front().front().toBool());
    }
}

TEST_F(NotesViewTest, CancelInTheSheetOrNoSelectionCreatesNothing) {
    const int32_t note = AddNote(notes(), 0, u"Visa");
    view->Fill();
    struct Case {
        const char* name;
        bool folder;
        int32_t selected;
        bool accept;
    };
    const Case cases[] = {
        {"Cancel on New Note", false, note, false},
        {"Cancel on New Folder", true, 0, false},
        {"OK with nothing selected", false, -1, true},
    };
    QSignalSpy modified(&doc, &CNotesDoc::modifiedChanged);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Select(c.selected);
        Forget();
        modified.clear();
        acceptSheet = c.accept;
        const int32_t nextId = notes().nextNodeId;
        c.folder ? view->OnNewFolder() : view->OnNewNote();
        EXPECT_EQ(dialogs.size(), 1);
        EXPECT_EQ(notes().nextNodeId, nextId);
        EXPECT_EQ(notes().nodes.size(), 2u);
        EXPECT_EQ(model().rowCount(item(0)), 1);
        EXPECT_FALSE(doc.isModified());
        EXPECT_EQ(modified.count(), 0);
    }
}

TEST_F(NotesViewTest, CutAndPasteMoveANoteWithEveryField) {
    const int32_t from = AddFolder(notes(), 0, u"From");
    const int32_t to = AddFolder(notes(), 0, u"To");
    const int32_t id = AddNote(notes(), from, u"Card", 12);
    NoteRecord& note = *notes().FindNode(id);
    note.body = u"{\\rtf1\\ansi Secret body}";
    note.link = u"http://bank.example/";
    note.modifiedTime = {2024, 3, 0, 5, 10, 20, 30, 0};
    note.reminderOn = 1;
    note.reminderTime = {2030, 1, 0, 2, 8, 0, 0, 0};
    note.reminderAckTime = {2029, 1, 0, 2, 8, 0, 0, 0};
    note.repeatKind = RepeatMonthly;
    note.repeatDays = kMonday | kFriday;
    note.templateId = 1;
    note.fieldValues = {u"J. Doe", u"4111", u"12/30", u"123", u"0000", u"Bank", u"Visa"};
    note.attachmentName = u"scan.png";
    note.setAttachment({0x89, 'P', 'N', 'G', 0, 1, 2, 255});
    note.attachmentTime = {2023, 7, 0, 1, 0, 0, 0, 0};
    const NoteRecord original = note;
    view->Fill();
    Select(id);
    Forget();
    QSignalSpy modified(&doc, &CNotesDoc::modifiedChanged);
    QSignalSpy states(view.get(), &CNotesView::commandStateChanged);

    view->OnCut();
    EXPECT_EQ(notes().FindNode(id), nullptr);
    EXPECT_FALSE(item(id).isValid());
    ASSERT_TRUE(doc.clipboardNote().has_value());
    EXPECT_EQ(*doc.clipboardNote(), original);
    ASSERT_FALSE(preview.shown.empty());
    EXPECT_NE(preview.shown.back(), id);
    EXPECT_EQ(modified.count(), 1);
    EXPECT_GE(states.count(), 1);

    Select(to);
    ASSERT_TRUE(view->canPaste());
    view->OnPaste();
    const int32_t pastedId = view->selectedNodeId();
    ASSERT_NE(pastedId, id);
    NoteRecord expected = original;
    expected.nodeId = pastedId;
    expected.parentId = to;
    ASSERT_NE(notes().FindNode(pastedId), nullptr);
    EXPECT_EQ(*notes().FindNode(pastedId), expected);
    EXPECT_EQ(item(pastedId).parent(), item(to));
    EXPECT_TRUE(view->isExpanded(item(to)));
    EXPECT_TRUE(item(pastedId).data(Qt::FontRole).value<QFont>().bold());
    EXPECT_EQ(preview.shown.back(), pastedId);
}

TEST_F(NotesViewTest, PasteTwiceMakesTwoCopiesAndKeepsTheClipboard) {
    const int32_t folder = AddFolder(notes(), 0, u"Cards");
    const int32_t note = AddNote(notes(), 0, u"Visa");
    view->Fill();
    Select(note);
    Forget();
    QSignalSpy states(view.get(), &CNotesView::commandStateChanged);
    view->OnCopy();
    EXPECT_EQ(states.count(), 1);
    EXPECT_FALSE(doc.isModified());

    std::vector<int32_t> pasted;
    for (int i = 0; i < 2; ++i) {
        Select(folder);
        view->OnPaste();
        pasted.push_back(view->selectedNodeId());
    }
    ASSERT_NE(pasted[0], pasted[1]);
    for (int32_t id : pasted) {
        ASSERT_NE(notes().FindNode(id), nullptr);
        EXPECT_EQ(notes().FindNode(id)->parentId, folder);
        EXPECT_EQ(notes().FindNode(id)->title, u"Visa");
    }
    EXPECT_EQ(model().rowCount(item(folder)), 2);
    EXPECT_EQ(item(pasted[1]).row(), 1);
    EXPECT_NE(notes().FindNode(note), nullptr);
    EXPECT_TRUE(doc.clipboardNote().has_value());
    EXPECT_TRUE(doc.isModified());
}

TEST_F(NotesViewTest, DeleteAsksThenRemovesTheNodeAndEveryDescendantFromTheDatabase) {
    struct Case {
        const char* name;
        bool folder;
        MessageAnswer answer;
    };
    const Case cases[] = {
        {"Cancel keeps the folder", true, MessageAnswer::Cancel},
        {"OK on a folder takes everything below it", true, MessageAnswer::Ok},
        {"OK on a note", false, MessageAnswer::Ok},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NewDatabase(notes());
        const int32_t a = AddFolder(notes(), 0, u"A");
        const int32_t b = AddFolder(notes(), a, u"B");
        const int32_t inner = AddFolder(notes(), b, u"C");
        const std::vector<int32_t> below = {b, inner, AddNote(notes(), inner, u"deep"),
                                            AddNote(notes(), a, u"in A"), AddNote(notes(), b, u"in B")};
        const int32_t other = AddFolder(notes(), 0, u"Other");
        const int32_t lone = AddNote(notes(), other, u"lone");
        view->Fill();
        const int32_t target = c.folder ? a : lone;
        Select(target);
        Forget();
        boxAnswer = c.answer;
        view->OnDelete();

        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, c.folder ? QStringLiteral("Delete the folder \"A\" and the 3 notes and 2 "
                                                           "folders in it? Edit > Undo brings them back.")
                                          : QString::fromStdU16String(Texts::confirmDeleteNote));
        EXPECT_EQ(boxes[0].icon, MessageIcon::Question);
        EXPECT_EQ(boxes[0].buttons, MessageButtons::OkCancel);
        const bool gone = c.answer == MessageAnswer::Ok;
        EXPECT_EQ(notes().FindNode(target) == nullptr, gone);
        EXPECT_EQ(item(target).isValid(), !gone);
        EXPECT_EQ(doc.isModified(), gone);
        for (int32_t id : below) {
            const bool expectGone = gone && c.folder;
            EXPECT_EQ(notes().FindNode(id) == nullptr, expectGone) << id;
            EXPECT_EQ(item(id).isValid(), !expectGone) << id;
        }
        EXPECT_NE(notes().FindNode(other), nullptr);
    }

    // The database item is never deleted, and nothing is asked.
    Select(0);
    Forget();
    view->OnDelete();
    EXPECT_TRUE(boxes.empty());
    EXPECT_NE(notes().FindNode(0), nullptr);
}

TEST_F(NotesViewTest, CommandStatesFollowTheSelectionAndTheClipboard) {
    const int32_t folder = AddFolder(notes(), 0, u"Cards");
    const int32_t note = AddNote(notes(), folder, u"Visa");
    view->Fill();
    struct Case {
        const char* name;
        int32_t selected;
        bool filled;
        bool open, del, copyCut, paste;
    };
    const Case cases[] = {
        {"nothing selected", -1, true, false, false, false, false},
        {"database item, empty slot", 0, false, true, false, false, false},
        {"database item, filled slot", 0, true, true, false, false, true},
        {"folder, filled slot", folder, true, true, true, false, true},
        {"note, filled slot", note, true, true, true, true, false},
    };
    QSignalSpy states(view.get(), &CNotesView::commandStateChanged);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        doc.clipboardNote() = c.filled ? NoteClipboard(*notes().FindNode(note)) : std::nullopt;
        states.clear();
        Select(note);
        Select(c.selected);
        EXPECT_GE(states.count(), 1);
        EXPECT_EQ(view->selectedNodeId(), c.selected);
        EXPECT_EQ(view->canOpen(), c.open);
        EXPECT_EQ(view->canDelete(), c.del);
        EXPECT_EQ(view->canCopyOrCut(), c.copyCut);
        EXPECT_EQ(view->canPaste(), c.paste);
    }

    // Copy and Cut on a folder do nothing; so does Paste on a note.
    doc.clipboardNote().reset();
    Select(folder);
    Forget();
    view->OnCopy();
    view->OnCut();
    EXPECT_FALSE(doc.clipboardNote().has_value());
    EXPECT_TRUE(item(folder).isValid());
    doc.clipboardNote() = *notes().FindNode(note);
    Select(note);
    const size_t count = notes().nodes.size();
    view->OnPaste();
    EXPECT_EQ(notes().nodes.size(), count);
    EXPECT_FALSE(doc.isModified());
}

TEST_F(NotesViewTest, DoubleClickAndEnterOpenTheProperties) {
    const int32_t folder = AddFolder(notes(), 0, u"Cards");
    const int32_t note = AddNote(notes(), folder, u"Amex");
    AddNote(notes(), folder, u"Visa");
    view->Fill();

    // The database item opens the database properties.
    Forget();
    DoubleClick(0);
    EXPECT_EQ(dialogs, QStringList{"CDatabaseProperties"});

    // A folder opens its sheet; only the handheld also opens the folder.
    Forget();
    acceptSheet = false;
    DoubleClick(folder);
    EXPECT_EQ(dialogs, QStringList{"CNotePropSheet"});
    EXPECT_EQ(view->isExpanded(item(folder)), kHandheld);

    // An edit shows at once where the item is, and in the preview.
    view->expand(item(folder));
    Forget();
    acceptSheet = true;
    sheetTitle = QStringLiteral("Zz renamed");
    DoubleClick(note);
    EXPECT_EQ(notes().FindNode(note)->title, u"Zz renamed");
    EXPECT_EQ(item(note).row(), 0);
    EXPECT_EQ(item(note).data().toString(), sheetTitle);
    ASSERT_FALSE(preview.shown.empty());
    EXPECT_EQ(preview.shown.back(), note);
    EXPECT_TRUE(doc.isModified());

    // Enter opens the selected node on the desktop.
    Forget();
    acceptSheet = false;
    Select(note);
    view->setFocus();
    QTest::keyClick(view.get(), Qt::Key_Return);
    EXPECT_EQ(dialogs.size(), kHandheld ? 0 : 1);
}

TEST_F(NotesViewTest, ContextMenuRequestSelectsTheItemAndNamesItsMenu) {
    const int32_t folder = AddFolder(notes(), 0, u"Cards");
    const int32_t note = AddNote(notes(), 0, u"Visa");
    view->Fill();
    QSignalSpy requests(view.get(), &CNotesView::contextMenuRequested);
    struct Case {
        const char* name;
        int32_t node;
        int menu;
    };
    const Case cases[] = {{"database item", 0, 250}, {"folder", folder, 249}, {"note", note, 246}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Select(-1);
        requests.clear();
        preview.shown.clear();
        const QPoint at = Centre(c.node);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
        QApplication::sendEvent(view->viewport(), &event);
        ASSERT_EQ(requests.count(), 1);
        EXPECT_EQ(requests.front()[0].toInt(), c.menu);
        EXPECT_EQ(requests.front()[1].toPoint(), view->viewport()->mapToGlobal(at));
        EXPECT_EQ(view->selectedNodeId(), c.node);
        ASSERT_FALSE(preview.shown.empty());
        EXPECT_EQ(preview.shown.back(), c.node == 0 ? -1 : c.node);
    }

    // Below the last item there is nothing to ask for.
    requests.clear();
    const QPoint empty(10, view->viewport()->height() - 5);
    QContextMenuEvent outside(QContextMenuEvent::Mouse, empty, view->viewport()->mapToGlobal(empty));
    QApplication::sendEvent(view->viewport(), &outside);
    EXPECT_EQ(requests.count(), 0);
    EXPECT_EQ(view->selectedNodeId(), note);

    // The handheld's press-and-hold asks for it too; the desktop's press does not.
    Select(-1);
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, Centre(folder));
    QTest::qWait(CNoteEditor::kHoldDelayMs + 300);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, Centre(folder));
    ASSERT_EQ(requests.count(), kHandheld ? 1 : 0);
    if (kHandheld) {
        EXPECT_EQ(requests.front()[0].toInt(), 249);
    }
}

TEST_F(NotesViewTest, TreeIsFilledAfterItIsShownAndAfterEachUpdate) {
    // A coarse timer may fire up to 5 % early.
    const qint64 kEarliestRebuildMs = CNotesView::kRebuildDelayMs * 94 / 100;
    AddFolder(notes(), 0, u"Cards");
    CNotesView fresh(doc);
    fresh.resize(200, 200);
    fresh.show();
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(fresh.model()->rowCount(), 0);
    EXPECT_TRUE(fresh.isRebuildPending());
    EXPECT_TRUE(QTest::qWaitFor([&] { return fresh.model()->rowCount() == 1; }, 3000));
    EXPECT_GE(clock.elapsed(), kEarliestRebuildMs);
    const QModelIndex database = fresh.model()->index(0, 0);
    EXPECT_TRUE(fresh.isExpanded(database));
    EXPECT_FALSE(fresh.isExpanded(fresh.model()->index(0, 0, database)));

    // Nodes that came with the update appear with the rebuild, not before.
    AddFolder(notes(), 0, u"Bank");
    doc.updateAllViews();
    clock.restart();
    EXPECT_EQ(fresh.model()->rowCount(database), 1);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return fresh.model()->rowCount(fresh.model()->index(0, 0)) == 2; }, 3000));
    EXPECT_GE(clock.elapsed(), kEarliestRebuildMs);
}

TEST_F(NotesViewTest, SelectionShowsTheNodeInThePreviewButNeverTheDatabaseItem) {
    const int32_t folder = AddFolder(notes(), 0, u"Cards");
    const int32_t note = AddNote(notes(), folder, u"Visa");
    view->Fill();
    struct Case {
        const char* name;
        int32_t node;
        std::vector<int32_t> shown;
    };
    const Case cases[] = {
        {"note", note, {-1, note}},
        {"database item", 0, {-1}},
        {"folder", folder, {-1, folder}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Select(-1);
        preview.shown.clear();
        Select(c.node);
        EXPECT_EQ(preview.shown, c.shown);
    }
    // Edited templates show again; a fill keeps no selection and shows nothing.
    Select(note);
    preview.shown.clear();
    emit doc.templatesChanged();
    EXPECT_EQ(preview.shown, (std::vector<int32_t>{-1, note}));
    preview.shown.clear();
    view->Fill();
    EXPECT_EQ(preview.shown, std::vector<int32_t>{-1});
    EXPECT_EQ(view->selectedNodeId(), -1);
}
