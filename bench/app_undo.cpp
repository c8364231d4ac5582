// Undo over a database of 100,000 nodes: deleting a folder of 10,000 notes
// and taking it back, dragging that folder onto another one and undoing the
// move, each with the tree following; undoing and redoing a merge that
// replaced the whole database; and what 100 undo steps of property edits hold
// when the notes carry 1 MB bodies.
#include "app/CNotesDoc.h"
#include "app/CNotesView.h"
#include "app/DeleteNodeCommand.h"
#include "app/EditNodeCommand.h"
#include "app/MergeCommand.h"
#include "app/NotesTreeModel.h"
#include "core/NotesMgr.h"
#include "core/TreeOps.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <memory>

namespace {

constexpr int kNodes = 100000;
constexpr int kBigFolderNotes = 10000;
constexpr int kFolders = 90;
constexpr int kEditSteps = 100;
constexpr size_t kBodyChars = 1 << 20;

// The root, one folder of 10,000 notes, 90 folders sharing the rest, shown in
// the tree with the big folder and the drop target open.
struct Window {
    CNotesDoc doc{nullptr};
    std::unique_ptr<CNotesView> view;
    int32_t bigFolder = -1;
    int32_t target = -1;

    Window() {
        NotesMgr& notes = doc.notes();
        const NoteTimestamp now = NoteTimestamp::now();
        bigFolder = notes.AddNode(0, 1, 1, u"Big folder", u"", u"", now);
        for (int i = 0; i < kBigFolderNotes; ++i)
            notes.AddNode(bigFolder, i % 80, 0, u"Note " + std::u16string(1, u'A' + i % 26), u"", u"", now);
        std::vector<int32_t> folders;
        for (int i = 0; i < kFolders; ++i)
            folders.push_back(notes.AddNode(0, i % 16, 1, u"Folder", u"", u"", now));
        target = folders.front();
        for (size_t i = 0; static_cast<int>(notes.nodes.size()) < kNodes; ++i)
            notes.AddNode(folders[i % folders.size()], 3, 0, u"Other", u"", u"", now);
        view = std::make_unique<CNotesView>(doc);
        view->resize(400, 600);
        view->show();
        view->Fill();
        view->expand(view->notesModel().indexOf(bigFolder));
        view->expand(view->notesModel().indexOf(target));
        view->viewport()->repaint();
    }

    // A drop of the big folder onto the target folder, as the mouse makes it.
    void DropBigFolder() {
        NotesTreeModel& model = view->notesModel();
        std::unique_ptr<QMimeData> data(model.mimeData({model.indexOf(bigFolder)}));
        view->scrollTo(model.indexOf(target));
        const QPoint at = view->visualRect(model.indexOf(target)).center();
        const Qt::DropActions actions = Qt::MoveAction | Qt::CopyAction;
        QDragEnterEvent enter(at, actions, data.get(), Qt::LeftButton, Qt::NoModifier);
        enter.setDropAction(Qt::MoveAction);
        QApplication::sendEvent(view->viewport(), &enter);
        QDropEvent drop(at, actions, data.get(), Qt::LeftButton, Qt::NoModifier);
        drop.setDropAction(Qt::MoveAction);
        QApplication::sendEvent(view->viewport(), &drop);
    }

    bool IsBack(int32_t parent) const {
        const NoteRecord* folder = doc.notes().FindNode(bigFolder);
        return folder && folder->parentId == parent &&
               doc.notes().nodes.size() == static_cast<size_t>(kNodes);
    }
};

void DeleteBigFolder(Window& w) {
    w.doc.PushChange(new DeleteNodeCommand(w.doc, w.bigFolder));
}

// Times the step, or its undo, each followed by the tree's repaint.
void TimeStep(benchmark::State& state, void (*step)(Window&), bool timeUndo) {
    Window w;
    const int32_t parent = w.doc.notes().FindNode(w.bigFolder)->parentId;
    for (auto _ : state) {
        if (timeUndo)
            state.PauseTiming();
        step(w);
        w.view->viewport()->repaint();
        if (!w.doc.undoStack().canUndo()) {
            state.SkipWithError("the step was refused");
            break;
        }
        if (timeUndo)
            state.ResumeTiming();
        else
            state.PauseTiming();
        w.doc.undoStack().undo();
        w.view->viewport()->repaint();
        if (!timeUndo)
            state.ResumeTiming();
        if (!w.IsBack(parent)) {
            state.SkipWithError("the undo did not bring the folder back");
            break;
        }
    }
}

void BM_DeleteFolder10k(benchmark::State& state) {
    TimeStep(state, DeleteBigFolder, false);
}
BENCHMARK(BM_DeleteFolder10k)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_UndoDeleteFolder10k(benchmark::State& state) {
    TimeStep(state, DeleteBigFolder, true);
}
BENCHMARK(BM_UndoDeleteFolder10k)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_DragMoveFolder10k(benchmark::State& state) {
    TimeStep(
        state, [](Window& w) { w.DropBigFolder(); }, false);
}
BENCHMARK(BM_DragMoveFolder10k)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_UndoDragMoveFolder10k(benchmark::State& state) {
    TimeStep(
        state, [](Window& w) { w.DropBigFolder(); }, true);
}
BENCHMARK(BM_UndoDragMoveFolder10k)->Unit(benchmark::kMillisecond)->Iterations(20);

// A merge step over the 100,000 nodes (the merged copy holds one note more):
// its undo and its redo, each with the tree filled and painted again.
void BM_UndoRedoMerge100k(benchmark::State& state) {
    Window w;
    NotesMgr merged;
    merged.nodes = w.doc.notes().nodes;
    merged.nextNodeId = w.doc.notes().nextNodeId;
    merged.AddNode(0, 3, 0, u"From the other copy", u"", u"", NoteTimestamp::now());
    w.doc.PushChange(new MergeCommand(w.doc, merged));
    const auto show = [&w] {
        w.view->Fill();
        w.view->viewport()->repaint();
    };
    for (auto _ : state) {
        w.doc.undoStack().undo();
        show();
        w.doc.undoStack().redo();
        show();
    }
    if (w.doc.notes().nodes.size() != static_cast<size_t>(kNodes) + 1)
        state.SkipWithError("the redo did not bring the merge back");
}
BENCHMARK(BM_UndoRedoMerge100k)->Unit(benchmark::kMillisecond)->Iterations(20);

size_t HeapInUse() {
    malloc_trim(0);
    return mallinfo2().uordblks;
}

// 100 notes with 1 MB bodies, each given one property-sheet OK: the title
// edited, or the title and the body. The counters give the heap the database
// takes and what the 100 steps hold beside it, in MB.
void EditSteps(benchmark::State& state, bool bodyToo) {
    for (auto _ : state) {
        const size_t start = HeapInUse();
        CNotesDoc doc(nullptr);
        NotesMgr& notes = doc.notes();
        std::vector<int32_t> ids;
        for (int i = 0; i < kEditSteps; ++i)
            ids.push_back(notes.AddNode(0, 3, 0, u"Note", std::u16string(kBodyChars, u'a' + i % 26), u"",
                                        NoteTimestamp::now()));
        const size_t database = HeapInUse() - start;
        for (int32_t id : ids) {
            NoteRecord before = *notes.FindNode(id);
            NoteRecord edited = before;
            edited.title = u"Edited";
            if (bodyToo)
                edited.body[0] = u'!';
            ApplyEditedNode(notes, edited);
            doc.PushChange(new EditNodeCommand(doc, NoteEdit(std::move(before), *notes.FindNode(id))));
        }
        const size_t steps = HeapInUse() - start - database;
        if (doc.undoStack().count() != kEditSteps)
            state.SkipWithError("not every edit became a step");
        state.counters["database_MB"] = static_cast<double>(database) / (1 << 20);
        state.counters["steps_MB"] = static_cast<double>(steps) / (1 << 20);
    }
}

void BM_HeldBy100TitleEdits(benchmark::State& state) {
    EditSteps(state, false);
}
BENCHMARK(BM_HeldBy100TitleEdits)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_HeldBy100BodyEdits(benchmark::State& state) {
    EditSteps(state, true);
}
BENCHMARK(BM_HeldBy100BodyEdits)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
