// Undo and redo through the main window of either edition, dragging nodes in
// the desktop tree, and the Delete key's question.
#include "AppFixture.h"
#include "TreeTestSupport.h"

#include "app/CNotesView.h"
#include "core/Edition.h"
#include "dialogs/CCustomizeTemplateDlg.h"
#include "dialogs/CDatabaseProperties.h"
#include "dialogs/CNotePropNotes.h"
#include "dialogs/CNotePropSheet.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QTest>
#include <algorithm>

using namespace treetest;

namespace {

// Everything a step may change.
struct Snapshot {
    std::map<int32_t, NoteRecord> nodes;
    std::vector<TemplateRecord> templates;
    std::u16string title, description, password;

    explicit Snapshot(const NotesMgr& n)
        : nodes(n.nodes), templates(n.templates), title(n.dbTitle), description(n.dbDescription),
          password(n.password) {
        std::sort(templates.begin(), templates.end(), [](const TemplateRecord& a, const TemplateRecord& b) {
            return a.templateId < b.templateId;
        });
    }
    bool operator==(const Snapshot&) const = default;
};

AppFixture::DialogAnswer titleSheet(const QString& title) {
    return [title](QDialog& dialog) {
        auto& sheet = dynamic_cast<CNotePropSheet&>(dialog);
        sheet.show();
        sheet.notesPage()->titleBox()->setText(title);
        return AppFixture::accept(sheet);
    };
}

} // namespace

class UndoTest : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        ASSERT_TRUE(start());
        frame().show();
        frame().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
        NotesMgr& n = notes();
        cards = AddFolder(n, 0, u"Cards");
        inner = AddFolder(n, cards, u"Inner");
        deep = AddNote(n, inner, u"Deep");
        visa = AddNote(n, cards, u"Visa");
        other = AddFolder(n, 0, u"Other");
        view().Fill();
        view().expandAll();
        doc().setModified(false);
    }

    CNotesView& view() { return *frame().view(); }
    void Select(int32_t id) { view().setCurrentIndex(view().notesModel().indexOf(id)); }
    QModelIndex item(int32_t id) { return view().notesModel().indexOf(id); }
    bool shown(int32_t id) { return item(id).isValid(); }
    void Run(Command command) { frame().action(command)->trigger(); }

    // A drag of `node` over `target`, Ctrl held for a copy; true when the
    // view shows it may be dropped there. `drop` then drops it.
    bool Drag(int32_t node, int32_t target, bool copy, bool drop) {
        std::unique_ptr<QMimeData> data(view().notesModel().mimeData({item(node)}));
        view().scrollTo(item(target));
        const QPoint at = view().visualRect(item(target)).center();
        EXPECT_FALSE(view().visualRect(item(target)).isEmpty());
        const Qt::KeyboardModifiers keys = copy ? Qt::ControlModifier : Qt::NoModifier;
        const Qt::DropActions actions = Qt::MoveAction | Qt::CopyAction;
        QDragEnterEvent enter(at, actions, data.get(), Qt::LeftButton, keys);
        enter.setDropAction(copy ? Qt::CopyAction : Qt::MoveAction);
        QApplication::sendEvent(view().viewport(), &enter);
        QDragMoveEvent move(at, actions, data.get(), Qt::LeftButton, keys);
        move.setDropAction(copy ? Qt::CopyAction : Qt::MoveAction);
        QApplication::sendEvent(view().viewport(), &move);
        const bool allowed = move.isAccepted();
        if (drop) {
            QDropEvent dropped(at, actions, data.get(), Qt::LeftButton, keys);
            dropped.setDropAction(copy ? Qt::CopyAction : Qt::MoveAction);
            QApplication::sendEvent(view().viewport(), &dropped);
        } else {
            QDragLeaveEvent leave;
            QApplication::sendEvent(view().viewport(), &leave);
        }
        return allowed;
    }

    int32_t cards = 0, inner = 0, deep = 0, visa = 0, other = 0;
};

TEST_F(UndoTest, EveryKindOfChangeIsOneStepBothWays) {
    struct Case {
        const char* name;
        std::function<void()> act;
        // The node whose item appears or goes with the step (-1: none).
        int32_t appears = -1, goes = -1;
    };
    const Case cases[] = {
        {"new note",
         [&] {
             Select(cards);
             answer(titleSheet("Amex"));
             Run(Command::NewNote);
         }},
        {"new folder",
         [&] {
             Select(0);
             answer(titleSheet("Bank"));
             Run(Command::NewFolder);
         }},
        {"property sheet OK",
         [&] {
             Select(visa);
             answer(titleSheet("Visa Gold"));
             Run(Command::OpenNode);
         }},
        {"delete a folder with what it holds",
         [&] {
             Select(cards);
             messageAnswers = {MessageAnswer::Ok};
             Run(Command::Delete);
         },
         -1, cards},
        {"cut",
         [&] {
             Select(visa);
             Run(Command::Cut);
         },
         -1, visa},
        {"paste",
         [&] {
             doc().clipboardNote() = *notes().FindNode(visa);
             Select(other);
             Run(Command::Paste);
         }},
        {"template edit",
         [&] {
             messageAnswers = {MessageAnswer::Ok};
             answer([](QDialog& dialog) {
                 auto& editor = dynamic_cast<CCustomizeTemplateDlg&>(dialog);
                 editor.listBox()->setCurrentRow(0);
                 editor.OnDelete();
                 return AppFixture::reject(editor);
             });
             Run(Command::EditTemplates);
         }},
        {"database properties",
         [&] {
             answer([](QDialog& dialog) {
                 auto& properties = dynamic_cast<CDatabaseProperties&>(dialog);
                 properties.titleBox()->setText(QStringLiteral("Renamed"));
                 return AppFixture::accept(properties);
             });
             Run(Command::DatabaseProperties);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Snapshot before(notes());
        const int32_t nextId = notes().nextNodeId;
        c.act();
        const Snapshot after(notes());
        ASSERT_NE(after, before);
        EXPECT_TRUE(doc().isModified());
        EXPECT_TRUE(frame().isWindowModified());
        ASSERT_TRUE(frame().action(Command::Undo)->isEnabled());
        EXPECT_FALSE(frame().action(Command::Redo)->isEnabled());
        const int32_t made = notes().nextNodeId > nextId ? nextId : -1;

        Run(Command::Undo);
        EXPECT_EQ(Snapshot(notes()), before);
        EXPECT_FALSE(doc().isModified()); // back to what was saved: no mark
        EXPECT_FALSE(frame().isWindowModified());
        EXPECT_FALSE(frame().action(Command::Undo)->isEnabled());
        EXPECT_TRUE(frame().action(Command::Redo)->isEnabled());
        if (made >= 0) {
            EXPECT_FALSE(shown(made));
        }
        if (c.goes >= 0) {
            EXPECT_TRUE(shown(c.goes));
            EXPECT_EQ(view().selectedNodeId(), c.goes);
        }

        Run(Command::Redo);
        EXPECT_EQ(Snapshot(notes()), after);
        EXPECT_TRUE(frame().isWindowModified());
        if (made >= 0) {
            EXPECT_TRUE(shown(made));
            EXPECT_EQ(view().selectedNodeId(), made);
        }
        if (c.goes >= 0) {
            EXPECT_FALSE(shown(c.goes));
        }

        Run(Command::Undo);
        doc().undoStack().clear();
        doc().setModified(false);
        view().Fill();
        view().expandAll();
    }
}

TEST_F(UndoTest, TheMarkFollowsTheSavedStateAndNewOrOpenEmptyTheStack) {
    // Two steps, a save between them.
    Select(visa);
    Run(Command::Cut);
    answer([](QDialog& d) { return AppFixture::accept(d); }); // first-save properties
    FileDialogs::QueueAnswers({path("undo.nte")});
    Run(Command::Save);
    ASSERT_FALSE(doc().isModified());
    Select(cards);
    Run(Command::Paste);
    EXPECT_TRUE(frame().isWindowModified());

    // Undo to the save: no mark; once more: a mark again; the keys do the same on the desktop.
    const auto undo = [&] {
        if (kHandheld)
            Run(Command::Undo);
        else
            QTest::keyClick(&frame(), Qt::Key_Z, Qt::ControlModifier);
    };
    undo();
    EXPECT_FALSE(frame().isWindowModified());
    undo();
    EXPECT_TRUE(frame().isWindowModified());
    EXPECT_NE(notes().FindNode(visa), nullptr);
    if (!kHandheld) {
        QTest::keyClick(&frame(), Qt::Key_Y, Qt::ControlModifier);
        EXPECT_FALSE(frame().isWindowModified());
        QTest::keyClick(&frame(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_TRUE(frame().isWindowModified());
        EXPECT_EQ(doc().undoStack().index(), 2);
    }

    // A reminder stamping a note is no step: undoing everything keeps the mark.
    doc().setModified(true);
    while (doc().undoStack().canUndo())
        Run(Command::Undo);
    EXPECT_TRUE(doc().isModified());

    // New and Open start with nothing to undo.
    messageAnswers = {MessageAnswer::No};
    Run(Command::New);
    EXPECT_EQ(doc().undoStack().count(), 0);
    EXPECT_FALSE(frame().action(Command::Redo)->isEnabled());
    Select(0);
    answer(titleSheet("Fresh"));
    Run(Command::NewFolder);
    ASSERT_EQ(doc().undoStack().count(), 1);
    messageAnswers = {MessageAnswer::No};
    FileDialogs::QueueAnswers({path("undo.nte")});
    Run(Command::Open);
    EXPECT_EQ(doc().undoStack().count(), 0);
    EXPECT_FALSE(frame().isWindowModified());
}

TEST_F(UndoTest, DraggingMovesOrCopiesOntoFoldersOnly) {
    if (kHandheld) {
        // The handheld keeps Cut and Paste: its tree takes no drops.
        EXPECT_FALSE(view().acceptDrops());
        EXPECT_FALSE(view().dragEnabled());
        return;
    }
    struct Case {
        const char* name;
        int32_t node, target;
        bool copy, allowed;
    };
    const Case cases[] = {
        {"note onto a folder moves", visa, other, false, true},
        {"folder onto the database item moves", inner, 0, false, true},
        {"folder with Ctrl copies everything in it", cards, other, true, true},
        {"note with Ctrl into its own folder copies", visa, cards, true, true},
        {"folder into itself", cards, cards, false, false},
        {"folder into its descendant", cards, inner, false, false},
        {"folder copied into its descendant", cards, inner, true, false},
        {"onto a note", inner, visa, false, false},
        {"the database item", 0, other, false, false},
        {"note onto its own folder", visa, cards, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Snapshot before(notes());
        const int32_t nextId = notes().nextNodeId;
        const size_t count = notes().nodes.size();
        const size_t below = CollectSubtree(notes(), c.node).size();
        view().collapse(item(inner));
        EXPECT_EQ(Drag(c.node, c.target, c.copy, false), c.allowed);
        EXPECT_EQ(Snapshot(notes()), before);
        Drag(c.node, c.target, c.copy, true);
        if (!c.allowed) {
            EXPECT_EQ(Snapshot(notes()), before);
            EXPECT_EQ(doc().undoStack().count(), 0);
            continue;
        }
        const int32_t moved = c.copy ? nextId : c.node;
        ASSERT_NE(notes().FindNode(moved), nullptr);
        EXPECT_EQ(notes().FindNode(moved)->parentId, c.target);
        EXPECT_EQ(notes().nodes.size(), count + (c.copy ? below : 0));
        if (c.copy) {
            EXPECT_EQ(notes().FindNode(moved)->title, notes().FindNode(c.node)->title);
            EXPECT_EQ(CollectSubtree(notes(), moved).size(), below);
        }
        // The item is where the database says, selected, and the tree kept
        // what was open and what was closed.
        EXPECT_EQ(item(moved).parent(), item(c.target));
        EXPECT_EQ(view().selectedNodeId(), moved);
        EXPECT_TRUE(view().isExpanded(item(other)));
        EXPECT_FALSE(view().isExpanded(item(inner)));
        EXPECT_EQ(doc().undoStack().count(), 1);

        Run(Command::Undo);
        EXPECT_EQ(Snapshot(notes()), before);
        EXPECT_EQ(item(c.node).parent(), item(before.nodes.at(c.node).parentId));
        EXPECT_FALSE(shown(nextId));
        doc().undoStack().clear();
    }

    // A database file from the file manager dropped on the tree opens.
    const QString file = makeDatabase("dropped.nte", u"");
    messageAnswers = {MessageAnswer::No};
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file)});
    const QPoint at = view().visualRect(item(other)).center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view().viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view().viewport(), &drop);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return doc().pathName() == QFileInfo(file).absoluteFilePath(); }, 5000));
}

TEST_F(UndoTest, TheDeleteKeyAsksWhatGoesWithAFolder) {
    const int32_t empty = AddFolder(notes(), other, u"Empty");
    const int32_t one = AddFolder(notes(), other, u"One");
    AddNote(notes(), one, u"only");
    const int32_t many = AddFolder(notes(), 0, u"Many");
    for (int i = 0; i < 6; ++i) {
        AddNote(notes(), many, u"n");
        AddNote(notes(), AddFolder(notes(), many, u"sub"), u"n");
    }
    view().Fill();
    struct Case {
        int32_t node;
        const char* question;
    };
    const Case cases[] = {
        {empty, "Delete the folder \"Empty\"? Edit > Undo brings it back."},
        {one, "Delete the folder \"One\" and the 1 note in it? Edit > Undo brings them back."},
        {cards,
         "Delete the folder \"Cards\" and the 2 notes and 1 folder in it? Edit > Undo brings them back."},
        {many,
         "Delete the folder \"Many\" and the 12 notes and 6 folders in it? Edit > Undo brings them back."},
        {visa, "Are you sure that you want to delete the selected note?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.question);
        Select(c.node);
        view().setFocus();
        messages.clear();
        messageAnswers = {MessageAnswer::Cancel, MessageAnswer::Ok};
        QTest::keyClick(&view(), Qt::Key_Delete);
        EXPECT_EQ(messages, QStringList{c.question});
        EXPECT_NE(notes().FindNode(c.node), nullptr);
        QTest::keyClick(&view(), Qt::Key_Delete);
        EXPECT_EQ(notes().FindNode(c.node), nullptr);
        EXPECT_FALSE(shown(c.node));
        Run(Command::Undo);
        EXPECT_NE(notes().FindNode(c.node), nullptr);
        EXPECT_TRUE(shown(c.node));
    }
}
