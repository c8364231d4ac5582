// Strongly protected files beside compatible ones: saving and loading the
// database of 200 MB of attachments in either kind (the strong key derived
// once beforehand, as a session keeps it), and deriving a key with the costs
// new files are written with: the price of one password guess, in time and
// (as a counter) memory.

#include "bench/SampleDatabases.h"
#include "core/NotesMgr.h"
#include "core/StrongKey.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

std::string pathFor(Protection kind) {
    static const std::string folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "sealbook-strong-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        return pattern;
    }();
    return folder + (kind == Protection::Strong ? "/strong.nte" : "/compatible.nte");
}

NotesMgr& database() {
    static std::unique_ptr<NotesMgr> db;
    if (!db) {
        db = bench::makeAttachments();
        db->password = u"bench password";
        db->strongCosts = StrongKey::smallestCosts();
        db->PrepareStrongKey();
    }
    return *db;
}

void BM_Save(benchmark::State& state) {
    const auto kind = static_cast<Protection>(state.range(0));
    NotesMgr& db = database();
    db.protection = kind;
    const std::string path = pathFor(kind);
    for (auto _ : state)
        db.Save(path);
    const double bytes = static_cast<double>(std::filesystem::file_size(path));
    state.counters["file_MB/s"] = benchmark::Counter(bytes * static_cast<double>(state.iterations()) / 1e6,
                                                     benchmark::Counter::kIsRate);
    std::filesystem::remove(path + ".bak");
}
BENCHMARK(BM_Save)
    ->Arg(int(Protection::Compatible))
    ->Arg(int(Protection::Strong))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_Load(benchmark::State& state) {
    const auto kind = static_cast<Protection>(state.range(0));
    NotesMgr& db = database();
    db.protection = kind;
    const std::string path = pathFor(kind);
    db.Save(path);
    for (auto _ : state) {
        NotesMgr loaded;
        loaded.password = db.password;
        loaded.strongKey = db.strongKey;
        loaded.Load(path);
        benchmark::DoNotOptimize(loaded.nodes.size());
    }
    const double bytes = static_cast<double>(std::filesystem::file_size(path));
    state.counters["file_MB/s"] = benchmark::Counter(bytes * static_cast<double>(state.iterations()) / 1e6,
                                                     benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Load)
    ->Arg(int(Protection::Compatible))
    ->Arg(int(Protection::Strong))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// One guess at a password of a file written with the default costs.
void BM_DeriveDefaultKey(benchmark::State& state) {
    const StrongKey::Costs costs = StrongKey::defaultCosts();
    for (auto _ : state) {
        StrongKey key(u"a guess", costs, StrongKey::Salt{});
        benchmark::DoNotOptimize(key.bytes());
    }
    state.counters["memory_MiB"] = static_cast<double>(costs.memLimit) / (1 << 20);
    state.counters["passes"] = static_cast<double>(costs.opsLimit);
}
BENCHMARK(BM_DeriveDefaultKey)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace

BENCHMARK_MAIN();
