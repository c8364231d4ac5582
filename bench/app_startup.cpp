// From the command line to the shown, filled tree: loading a database of
// 100,000 notes (short RTF bodies, three field values) into the document,
// then showing the main tree filled. The timer's 300 ms wait before the fill
// is the tree's own design and is left out, and so is closing the window
// (wiping and freeing the database), which is not part of an open. The
// counter "base MiB" is the memory the window keeps as the base of a merge.
#include "app/CNotesDoc.h"
#include "app/CNotesView.h"
#include "core/NotesMgr.h"
#include "core/TreeOps.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <string>

namespace {

QString WriteDatabase(const QTemporaryDir& dir) {
    NotesMgr mgr;
    NewDatabase(mgr);
    int32_t folder = 0;
    for (int i = 1; i < 100000; ++i) {
        if (i % 10000 == 1) {
            folder = mgr.AddNode(0, 1, 1, u"Folder " + std::u16string(1, char16_t(u'A' + i / 10000)), u"",
                                 u"", NoteTimestamp{});
            continue;
        }
        const std::string number = std::to_string(i);
        const std::u16string n(number.begin(), number.end());
        const int32_t id = mgr.AddNode(
            folder, i % 80, 0, u"Note " + n,
            u"{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Tahoma;}}\\f0\\fs16 Short body " + n + u".\\par}",
            u"", NoteTimestamp{});
        NoteRecord& note = *mgr.FindNode(id);
        note.templateId = 1;
        note.fieldValues[0] = u"4111 1111 1111 " + n;
        note.fieldValues[1] = u"12/29";
        note.fieldValues[2] = u"Holder " + n;
    }
    const QString path = dir.filePath(QStringLiteral("big.nte"));
    mgr.Save(QFile::encodeName(path).toStdString());
    return path;
}

void BM_OpenAndFillTree(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = WriteDatabase(dir);
    for (auto _ : state) {
        auto doc = std::make_unique<CNotesDoc>(nullptr);
        auto view = std::make_unique<CNotesView>(*doc);
        view->resize(400, 600);
        view->show();
        if (doc->OpenDocument(path).result != CNotesDoc::OpenResult::Opened)
            state.SkipWithError("the database did not open");
        view->Fill();
        QApplication::processEvents(); // lay out and paint the filled tree
        benchmark::DoNotOptimize(view->model()->rowCount());
        state.PauseTiming();
        state.counters["base MiB"] = static_cast<double>(doc->baseStream().capacity()) / (1 << 20);
        view.reset();
        doc.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenAndFillTree)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
