// Loading a 1 MB RTF body into the note editor and storing it back.
#include "core/CodePage.h"
#include "editor/CNoteEditor.h"
#include "editor/LinkFinder.h"
#include "editor/RichTextMapping.h"
#include "editor/rtf/PlainText.h"
#include "editor/rtf/RtfReader.h"
#include "editor/rtf/RtfWriter.h"

#include <QTextCursor>
#include <QTextDocument>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QTextBlock>
#include <benchmark/benchmark.h>

namespace {

// A body of about `bytes` bytes with the formatting notes carry: runs in
// several faces, sizes, effects and colours, centred paragraphs, lists and links.
std::u16string makeBody(size_t bytes) {
    rtf::Document document;
    std::string rtfText;
    for (int i = 0; rtfText.size() < bytes; ++i) {
        rtf::Paragraph p;
        p.alignment = i % 5 == 0 ? rtf::Alignment::Center : rtf::Alignment::Left;
        p.numbering = i % 7 < 3 ? rtf::Numbering::Arabic : rtf::Numbering::None;
        for (int r = 0; r < 6; ++r) {
            rtf::Run run;
            run.text = u"Some note text with a number " + std::u16string(1, static_cast<char16_t>(u'0' + r)) +
                       u" and http://example.com/page" + std::u16string(1, static_cast<char16_t>(u'a' + r)) +
                       u" in it, ";
            run.format.bold = r % 2 == 0;
            run.format.italic = r % 3 == 0;
            run.format.face = r % 4 == 0 ? u"Courier New" : u"Tahoma";
            run.format.sizeTwips = 160 + 40 * r;
            run.format.textColour = r == 5 ? rtf::makeColour(200, 0, 0) : rtf::kAutoColour;
            p.runs.push_back(run);
        }
        document.paragraphs.push_back(p);
        if (i % 200 == 199)
            rtfText = rtf::WriteRtf(document);
    }
    rtfText = rtf::WriteRtf(document);
    return CodePage::toUtf16(rtfText, CodePage::kAnsi);
}

const std::u16string& body() {
    static const std::u16string b = makeBody(1 << 20);
    return b;
}

void BM_LoadBody(benchmark::State& state) {
    CNoteEditor editor(nullptr, false);
    editor.resize(600, 400);
    editor.show();
    for (auto _ : state)
        editor.LoadBody(body());
    state.counters["bodyBytes"] = static_cast<double>(body().size());
}
BENCHMARK(BM_LoadBody)->Unit(benchmark::kMillisecond);

// The load plus laying the whole text out, which the editor otherwise does step by step afterwards.
void BM_LoadBodyAndLayOutAll(benchmark::State& state) {
    CNoteEditor editor(nullptr, false);
    editor.resize(600, 400);
    editor.show();
    for (auto _ : state) {
        editor.LoadBody(body());
        QTextDocument* document = editor.document();
        benchmark::DoNotOptimize(document->documentLayout()->blockBoundingRect(document->lastBlock()));
    }
}
BENCHMARK(BM_LoadBodyAndLayOutAll)->Unit(benchmark::kMillisecond);

void BM_StoreBody(benchmark::State& state) {
    CNoteEditor editor(nullptr, false);
    editor.resize(600, 400);
    editor.show();
    editor.LoadBody(body());
    for (auto _ : state)
        benchmark::DoNotOptimize(editor.StoreBody());
    state.counters["storedBytes"] = static_cast<double>(editor.StoreBody().size());
}
BENCHMARK(BM_StoreBody)->Unit(benchmark::kMillisecond);

// The steps of a load, to see where its time goes.
void BM_LoadStepReadRtf(benchmark::State& state) {
    const std::string bytes = rtf::BodyToRtfBytes(body());
    for (auto _ : state)
        benchmark::DoNotOptimize(rtf::ReadRtf(bytes));
}
BENCHMARK(BM_LoadStepReadRtf)->Unit(benchmark::kMillisecond);

void BM_LoadStepFillDocument(benchmark::State& state) {
    const rtf::Document model = rtf::ReadRtf(rtf::BodyToRtfBytes(body()));
    for (auto _ : state) {
        QTextDocument document;
        document.setUndoRedoEnabled(false);
        QTextCursor cursor(&document);
        RichTextMapping::insertDocument(cursor, model, true);
    }
}
BENCHMARK(BM_LoadStepFillDocument)->Unit(benchmark::kMillisecond);

void BM_LoadStepFindLinks(benchmark::State& state) {
    const rtf::Document model = rtf::ReadRtf(rtf::BodyToRtfBytes(body()));
    QTextDocument document;
    QTextCursor cursor(&document);
    RichTextMapping::insertDocument(cursor, model, true);
    for (auto _ : state)
        benchmark::DoNotOptimize(LinkFinder::find(document.toRawText()));
}
BENCHMARK(BM_LoadStepFindLinks)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    body(); // made once, outside the timed loops
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
