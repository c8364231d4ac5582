// RTF engine speed: the plain text of note bodies (find walks every body, so
// this is the figure that matters: MB of RTF per second), and reading and
// writing a 1 MB document.

#include "bench/SampleDatabases.h"
#include "core/CodePage.h"
#include "editor/rtf/PlainText.h"
#include "editor/rtf/RtfReader.h"
#include "editor/rtf/RtfWriter.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

const std::string& megabyteRtf() {
    static const std::string rtf = rtf::WriteRtf(bench::makeDocument(1 << 20));
    return rtf;
}

// The corpus bodies as the database holds them: wide strings.
const std::vector<std::u16string>& corpusBodies() {
    static const std::vector<std::u16string> bodies = [] {
        std::vector<std::u16string> out;
        const std::filesystem::path dir = std::filesystem::path(SEALBOOK_CORPUS_DIR) / "rtf";
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            if (entry.path().extension() == ".rtf") {
                std::ifstream in(entry.path(), std::ios::binary);
                std::stringstream ss;
                ss << in.rdbuf();
                out.push_back(CodePage::toUtf16(ss.str()));
            }
        }
        return out;
    }();
    return bodies;
}

void BM_PlainTextOfWrittenBody(benchmark::State& state) {
    const std::u16string body = CodePage::toUtf16(megabyteRtf());
    for (auto _ : state) {
        benchmark::DoNotOptimize(rtf::BodyToPlainText(body));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * body.size()));
}
BENCHMARK(BM_PlainTextOfWrittenBody)->Unit(benchmark::kMillisecond);

void BM_PlainTextOfCorpusBodies(benchmark::State& state) {
    const auto& bodies = corpusBodies();
    size_t total = 0;
    for (const auto& b : bodies) {
        total += b.size();
    }
    for (auto _ : state) {
        for (const auto& b : bodies) {
            benchmark::DoNotOptimize(rtf::BodyToPlainText(b));
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * total));
}
BENCHMARK(BM_PlainTextOfCorpusBodies)->Unit(benchmark::kMillisecond);

void BM_ReadRtf1MB(benchmark::State& state) {
    const std::string& rtf = megabyteRtf();
    for (auto _ : state) {
        benchmark::DoNotOptimize(rtf::ReadRtf(rtf));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * rtf.size()));
}
BENCHMARK(BM_ReadRtf1MB)->Unit(benchmark::kMillisecond);

void BM_WriteRtf1MB(benchmark::State& state) {
    const rtf::Document doc = rtf::ReadRtf(megabyteRtf());
    for (auto _ : state) {
        benchmark::DoNotOptimize(rtf::WriteRtf(doc));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * megabyteRtf().size()));
}
BENCHMARK(BM_WriteRtf1MB)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
