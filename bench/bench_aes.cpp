// Throughput of the database cipher's hot path: AES-256 over independent
// 16-byte blocks of a large buffer, on the hardware and the portable path,
// beside memcpy of the same buffer as the ceiling.

#include "core/Aes256.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr size_t kBufferSize = 64u << 20;

std::vector<uint8_t>& buffer() {
    static std::vector<uint8_t> data = [] {
        std::vector<uint8_t> d(kBufferSize);
        std::mt19937 gen(7);
        for (auto& b : d)
            b = uint8_t(gen());
        return d;
    }();
    return data;
}

const uint8_t kKey[32] = {0x60, 0x3d, 0xeb, 0x10, 0x15, 0xca, 0x71, 0xbe, 0x2b, 0x73, 0xae,
                          0xf0, 0x85, 0x7d, 0x77, 0x81, 0x1f, 0x35, 0x2c, 0x07, 0x3b, 0x61,
                          0x08, 0xd7, 0x2d, 0x98, 0x10, 0xa3, 0x09, 0x14, 0xdf, 0xf4};

template <bool Encrypt> void aesBlocks(benchmark::State& state, Aes256::Implementation impl) {
    if (impl == Aes256::Implementation::Hardware && !Aes256::hardwareAvailable()) {
        state.SkipWithError("this processor has no AES instructions");
        return;
    }
    const Aes256 aes(kKey, impl);
    uint8_t* data = buffer().data();
    const size_t size = size_t(state.range(0));
    for (auto _ : state) {
        if (Encrypt)
            aes.encryptBlocks(data, size);
        else
            aes.decryptBlocks(data, size);
        benchmark::DoNotOptimize(data);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(size));
}

void BM_EncryptHardware(benchmark::State& s) {
    aesBlocks<true>(s, Aes256::Implementation::Hardware);
}
void BM_DecryptHardware(benchmark::State& s) {
    aesBlocks<false>(s, Aes256::Implementation::Hardware);
}
void BM_EncryptPortable(benchmark::State& s) {
    aesBlocks<true>(s, Aes256::Implementation::Portable);
}
void BM_DecryptPortable(benchmark::State& s) {
    aesBlocks<false>(s, Aes256::Implementation::Portable);
}

void BM_Memcpy(benchmark::State& state) {
    const uint8_t* src = buffer().data();
    const size_t size = size_t(state.range(0));
    std::vector<uint8_t> dst(size);
    for (auto _ : state) {
        std::memcpy(dst.data(), src, size);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(size));
}

} // namespace

// The whole buffer (beyond the caches, like a large database) and 1 MB (within them).
BENCHMARK(BM_Memcpy)->Arg(kBufferSize)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EncryptHardware)->Arg(kBufferSize)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecryptHardware)->Arg(kBufferSize)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EncryptPortable)->Arg(kBufferSize)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecryptPortable)->Arg(kBufferSize)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
