// Saving and loading whole database files: a tree of 100,000 small notes and
// a database of 200 MB of attachments. Reports nodes/s and file MB/s, and the
// peak memory of a load over its baseline as a share of the stream size
// (measured in a fresh process, so nothing of the benchmark's own data counts).

#include "bench/SampleDatabases.h"
#include "core/NotesMgr.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string benchFolder() {
    static const std::string folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "sealbook-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        return pattern;
    }();
    return folder;
}

NotesMgr& database(bool attachments) {
    static std::unique_ptr<NotesMgr> many, large;
    auto& slot = attachments ? large : many;
    if (!slot)
        slot = attachments ? bench::makeAttachments() : bench::makeManyNodes();
    return *slot;
}

std::string pathFor(bool attachments) {
    return benchFolder() + (attachments ? "/attachments.nte" : "/nodes.nte");
}

uint64_t fileSize(const std::string& path) {
    return std::filesystem::file_size(path);
}

// One load in a fresh copy of this program: peak resident memory over the
// resident memory just before the load.
double measureLoadMemory(const std::string& path) {
    const pid_t pid = fork();
    if (pid == 0) {
        execl("/proc/self/exe", "bench_file", "--measure-load", path.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    std::ifstream in(path + ".mem");
    double peakOverBaseline = -1;
    in >> peakOverBaseline;
    return peakOverBaseline;
}

long statusKb(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const size_t n = std::strlen(field);
    while (std::getline(in, line)) {
        if (line.compare(0, n, field) == 0)
            return std::atol(line.c_str() + n + 1);
    }
    return -1;
}

int measureLoad(const char* path) {
    NotesMgr db;
    const long baseline = statusKb("VmRSS");
    db.Load(path);
    const long peak = statusKb("VmHWM");
    std::ofstream out(std::string(path) + ".mem");
    out << (peak - baseline) * 1024.0;
    return 0;
}

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Rates by wall-clock time, and by the process's own CPU time, which other
// programs on a shared machine do not inflate.
void reportFile(benchmark::State& state, const std::string& path, bool attachments, double cpu) {
    const double bytes = static_cast<double>(fileSize(path));
    const double iterations = static_cast<double>(state.iterations());
    state.counters["cpu_MB/s"] = bytes * iterations / cpu / 1e6;
    state.counters["cpu_nodes/s"] =
        static_cast<double>(database(attachments).nodes.size()) * iterations / cpu;
    state.counters["file_MB"] = bytes / 1e6;
    state.counters["file_MB/s"] = benchmark::Counter(bytes * static_cast<double>(state.iterations()) / 1e6,
                                                     benchmark::Counter::kIsRate);
    state.counters["nodes/s"] =
        benchmark::Counter(static_cast<double>(database(attachments).nodes.size() * state.iterations()),
                           benchmark::Counter::kIsRate);
}

void BM_Save(benchmark::State& state) {
    const bool attachments = state.range(0) != 0;
    NotesMgr& db = database(attachments);
    const std::string path = pathFor(attachments);
    double cpu = 0;
    for (auto _ : state) {
        const double start = cpuSeconds();
        db.Save(path);
        cpu += cpuSeconds() - start;
    }
    reportFile(state, path, attachments, cpu);
}

void BM_Load(benchmark::State& state) {
    const bool attachments = state.range(0) != 0;
    const std::string path = pathFor(attachments);
    database(attachments).Save(path);
    double cpu = 0;
    for (auto _ : state) {
        NotesMgr db;
        const double start = cpuSeconds();
        db.Load(path);
        cpu += cpuSeconds() - start;
        benchmark::DoNotOptimize(db.nodes.size());
        state.PauseTiming(); // freeing the loaded tree is not part of the load
        db.nodes.clear();
        state.ResumeTiming();
    }
    reportFile(state, path, attachments, cpu);
    const double streamBytes = static_cast<double>(fileSize(path) - 68);
    const double peak = measureLoadMemory(path);
    state.counters["load_peak_MB"] = peak / 1e6;
    state.counters["peak/stream"] = peak / streamBytes;
}

BENCHMARK(BM_Save)->Arg(0)->Arg(1)->ArgName("attachments")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Load)->Arg(0)->Arg(1)->ArgName("attachments")->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--measure-load") == 0)
        return measureLoad(argv[2]);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(benchFolder());
    return 0;
}
