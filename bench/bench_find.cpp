// Find speed: one search step over 100,000 notes with short RTF bodies in
// which nothing matches, so every title and every body is tested. The same
// database can be written to a file for timing the companion's find from the
// outside: bench_find --write-database FILE (no password).

#include "core/CodePage.h"
#include "core/NoteFinder.h"
#include "core/TreeOps.h"
#include "core/TreeOrder.h"
#include "editor/rtf/PlainText.h"
#include "editor/rtf/RtfWriter.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <iostream>
#include <random>

namespace {

constexpr int kFolders = 1000;
constexpr int kNotesPerFolder = 100;

// A short note as the editor writes it: one line of a few words, some bold.
std::u16string shortBody(std::mt19937& rng) {
    const char16_t* words[] = {u"password",  u"account", u"login", u"the",     u"note",
                               u"caf\u00E9", u"number",  u"card",  u"expires", u"server"};
    rtf::Document doc;
    for (int p = 0; p < 1; ++p) {
        rtf::Paragraph paragraph;
        for (int r = 0; r < 2; ++r) {
            rtf::Run run;
            run.format.bold = r == 1;
            for (int w = 0; w < 3; ++w) {
                run.text += words[rng() % std::size(words)];
                run.text += u' ';
            }
            paragraph.runs.push_back(std::move(run));
        }
        doc.paragraphs.push_back(std::move(paragraph));
    }
    return CodePage::toUtf16(rtf::WriteRtf(doc));
}

void fillDatabase(NotesMgr& mgr) {
    NewDatabase(mgr);
    std::mt19937 rng(11);
    const NoteTimestamp now = NoteTimestamp::now();
    for (int f = 0; f < kFolders; ++f) {
        const int32_t folder =
            mgr.AddNode(0, 1, 1, u"Folder " + std::u16string(1, u'A' + f % 26), {}, {}, now);
        for (int n = 0; n < kNotesPerFolder; ++n)
            mgr.AddNode(folder, 16, 0, u"Note " + std::u16string(1, u'a' + n % 26), shortBody(rng), {}, now);
    }
}

void BM_FindStepNoMatch(benchmark::State& state) {
    NotesMgr mgr(nullptr);
    fillDatabase(mgr);
    FindOptions options;
    options.text = u"zebra";
    for (auto _ : state) {
        NoteFinder finder(&rtf::BodyToPlainText);
        const auto result = finder.Step(mgr, options, 0);
        if (result.outcome != NoteFinder::Outcome::NotFound)
            state.SkipWithError("a match where there is none");
        benchmark::DoNotOptimize(result);
    }
    state.counters["notes"] = kFolders * kNotesPerFolder;
}
BENCHMARK(BM_FindStepNoMatch)->Unit(benchmark::kMillisecond);

// Whole word and match case take other paths through the text test.
void BM_FindStepNoMatchWholeWordMatchCase(benchmark::State& state) {
    NotesMgr mgr(nullptr);
    fillDatabase(mgr);
    FindOptions options;
    options.text = u"pass";
    options.matchCase = true;
    options.wholeWord = true;
    for (auto _ : state) {
        NoteFinder finder(&rtf::BodyToPlainText);
        benchmark::DoNotOptimize(finder.Step(mgr, options, 0));
    }
}
BENCHMARK(BM_FindStepNoMatchWholeWordMatchCase)->Unit(benchmark::kMillisecond);

// The two parts of a step: the display order, and the bodies as plain text.
void BM_DisplayOrder(benchmark::State& state) {
    NotesMgr mgr(nullptr);
    fillDatabase(mgr);
    for (auto _ : state)
        benchmark::DoNotOptimize(ListTree(mgr));
}
BENCHMARK(BM_DisplayOrder)->Unit(benchmark::kMillisecond);

void BM_AllBodiesAsPlainText(benchmark::State& state) {
    NotesMgr mgr(nullptr);
    fillDatabase(mgr);
    for (auto _ : state) {
        for (const auto& [id, node] : mgr.nodes)
            benchmark::DoNotOptimize(rtf::BodyToPlainText(node.body));
    }
}
BENCHMARK(BM_AllBodiesAsPlainText)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--write-database") == 0) {
        NotesMgr mgr(nullptr);
        fillDatabase(mgr);
        mgr.Save(argv[2]);
        std::cout << mgr.nodes.size() << " nodes written to " << argv[2] << "\n";
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
