// The tree and the preview over a database of 100,000 nodes: filling the
// tree, opening a folder of 10,000 notes, and moving the selection with the
// Down key onto notes whose bodies are 1 MB of formatted RTF.
#include "app/CNotesDoc.h"
#include "app/CNotesView.h"
#include "app/CPreviewDlg.h"
#include "app/NotesTreeModel.h"
#include "core/CodePage.h"
#include "core/NotesMgr.h"
#include "editor/CNoteEditor.h"
#include "editor/PreviewComposer.h"
#include "editor/rtf/RtfWriter.h"

#include <QApplication>
#include <QMainWindow>
#include <QTest>
#include <benchmark/benchmark.h>
#include <random>

namespace {

constexpr int kNodes = 100000;
constexpr int kBigFolderNotes = 10000;
constexpr int kFolders = 90;

// Titles in no particular order, with mixed case, as people type them.
std::u16string RandomTitle(std::minstd_rand& random) {
    static const char16_t* words[] = {u"Bank", u"visa", u"Login", u"mail",   u"Passport", u"sim",
                                      u"Work", u"home", u"Card",  u"router", u"Shop",     u"forum"};
    std::u16string title = words[random() % 12];
    title += u' ';
    title += std::u16string(1, static_cast<char16_t>(u'A' + random() % 26));
    title += words[random() % 12];
    title += u' ';
    title += std::u16string(1, static_cast<char16_t>(u'0' + random() % 10));
    return title;
}

// The root, one folder of 10,000 notes, and 90 folders sharing the rest.
struct BigDatabase {
    CNotesDoc doc{nullptr};
    int32_t bigFolder = -1;

    BigDatabase() {
        NotesMgr& notes = doc.notes();
        std::minstd_rand random(7);
        const NoteTimestamp now = NoteTimestamp::now();
        bigFolder = notes.AddNode(0, 1, 1, u"Big folder", u"", u"", now);
        for (int i = 0; i < kBigFolderNotes; ++i)
            notes.AddNode(bigFolder, i % 80, 0, RandomTitle(random), u"", u"", now);
        std::vector<int32_t> folders;
        for (int i = 0; i < kFolders; ++i)
            folders.push_back(notes.AddNode(0, i % 16, 1, RandomTitle(random), u"", u"", now));
        while (static_cast<int>(notes.nodes.size()) < kNodes)
            notes.AddNode(folders[random() % folders.size()], 3, 0, RandomTitle(random), u"", u"", now);
    }
};

BigDatabase& Database() {
    static BigDatabase database;
    return database;
}

// A body of about `bytes` bytes with the formatting notes carry.
std::u16string MakeBody(size_t bytes, char16_t mark) {
    rtf::Document document;
    for (size_t size = 0; size < bytes;) {
        rtf::Paragraph p;
        p.alignment = document.paragraphs.size() % 5 == 0 ? rtf::Alignment::Center : rtf::Alignment::Left;
        p.numbering = document.paragraphs.size() % 7 < 3 ? rtf::Numbering::Arabic : rtf::Numbering::None;
        for (int r = 0; r < 6; ++r) {
            rtf::Run run;
            run.text = std::u16string(1, mark) + u" note text with a link http://example.com/page" +
                       std::u16string(1, static_cast<char16_t>(u'a' + r)) + u" in it, ";
            run.format.bold = r % 2 == 0;
            run.format.italic = r % 3 == 0;
            run.format.face = r % 4 == 0 ? u"Courier New" : u"Tahoma";
            run.format.sizeTwips = 160 + 40 * r;
            p.runs.push_back(run);
            size += run.text.size() + 40; // about what the run's RTF takes
        }
        document.paragraphs.push_back(p);
    }
    return CodePage::toUtf16(rtf::WriteRtf(document), CodePage::kAnsi);
}

void BM_ModelFill100k(benchmark::State& state) {
    BigDatabase& db = Database();
    NotesTreeModel model(db.doc.notes());
    for (auto _ : state)
        model.Fill();
    state.counters["nodes"] = static_cast<double>(db.doc.notes().nodes.size());
}
BENCHMARK(BM_ModelFill100k)->Unit(benchmark::kMillisecond);

// The view's whole rebuild: the fill, the database item expanded and laid out, painted once.
void BM_ViewFill100k(benchmark::State& state) {
    BigDatabase& db = Database();
    CNotesView view(db.doc);
    view.resize(400, 600);
    view.show();
    for (auto _ : state) {
        view.Fill();
        view.viewport()->repaint();
    }
}
BENCHMARK(BM_ViewFill100k)->Unit(benchmark::kMillisecond);

// Opening the folder of 10,000 notes for the first time since the fill: its
// children are put in order, laid out and painted.
void BM_ExpandFolder10k(benchmark::State& state) {
    BigDatabase& db = Database();
    CNotesView view(db.doc);
    view.resize(400, 600);
    view.show();
    for (auto _ : state) {
        state.PauseTiming();
        view.Fill();
        const QModelIndex folder = view.notesModel().indexOf(db.bigFolder);
        QApplication::processEvents();
        view.viewport()->repaint();
        state.ResumeTiming();
        view.expand(folder);
        // The view lays the rows out before it paints them.
        benchmark::DoNotOptimize(view.visualRect(view.notesModel().index(kBigFolderNotes - 1, 0, folder)));
        view.viewport()->repaint();
        state.PauseTiming();
        if (view.visualRect(view.notesModel().index(0, 0, folder)).isEmpty())
            state.SkipWithError("the folder did not open");
        state.ResumeTiming();
    }
}
// The set-up of each run (a fill) is not timed but takes its time: a fixed number of runs.
BENCHMARK(BM_ExpandFolder10k)->Unit(benchmark::kMillisecond)->Iterations(30);

// The tree beside the desktop's preview pane, the selection on the first of
// two notes of 1 MB each.
struct PreviewWindow {
    CNotesDoc doc{nullptr};
    QMainWindow window;
    CNotesView* view = nullptr;
    CPreviewDlg* preview = nullptr;

    PreviewWindow() {
        NotesMgr& notes = doc.notes();
        const NoteTimestamp now = NoteTimestamp::now();
        const int32_t first = notes.AddNode(0, 1, 0, u"A first", MakeBody(1 << 20, u'A'), u"", now);
        notes.AddNode(0, 1, 0, u"B second", MakeBody(1 << 20, u'B'), u"", now);
        notes.FindNode(first)->templateId = 1;
        view = new CNotesView(doc, &window);
        preview = new CPreviewDlg(&window);
        view->setPreviewTarget(preview);
        window.setCentralWidget(view);
        window.addDockWidget(Qt::RightDockWidgetArea, preview);
        window.resize(900, 700);
        window.show();
        view->Fill();
        view->setFocus();
        view->setCurrentIndex(view->notesModel().indexOf(first));
        preview->composer().Finish();
        QApplication::processEvents();
    }
};

// From the key press until the preview shows the new note's start, painted.
void BM_DownKeyPreview1MB(benchmark::State& state) {
    PreviewWindow w;
    bool down = true;
    for (auto _ : state) {
        QTest::keyClick(w.view, down ? Qt::Key_Down : Qt::Key_Up);
        w.preview->editor()->viewport()->repaint();
        state.PauseTiming();
        down = !down;
        w.preview->composer().Finish(); // what the idle steps would do next
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DownKeyPreview1MB)->Unit(benchmark::kMillisecond)->Iterations(30);

// The same until the whole 1 MB body is in the preview.
void BM_DownKeyPreviewWhole1MB(benchmark::State& state) {
    PreviewWindow w;
    bool down = true;
    for (auto _ : state) {
        QTest::keyClick(w.view, down ? Qt::Key_Down : Qt::Key_Up);
        w.preview->composer().Finish();
        w.preview->editor()->viewport()->repaint();
        down = !down;
    }
}
BENCHMARK(BM_DownKeyPreviewWhole1MB)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Database(); // made once, outside the timed loops
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
