// sealbook: the command-line companion. Lists, shows, exports, imports,
// re-keys, verifies and searches database files.

#include "cli/Commands.h"
#include "core/SecretWipe.h"

#include <iostream>
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// A database of 100,000 notes is some hundred thousand small blocks. Touching
// them page by page costs more than reading and deciphering the file, so the
// heap is grown in one large step and backed by huge pages where the system
// offers them on request. Threads share that one heap: a heap of their own
// would be grown in small pages again, one fault per four kilobytes.
void PrepareHeap() {
    constexpr size_t kReserve = size_t(512) << 20;
    constexpr size_t kHugePage = size_t(2) << 20;
    mallopt(M_MMAP_THRESHOLD, 16 << 20);
    mallopt(M_ARENA_MAX, 1);
    mallopt(M_TOP_PAD, static_cast<int>(kReserve));
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(kReserve));
    const uintptr_t start = reinterpret_cast<uintptr_t>(sbrk(0));
    // A block bigger than what is left at the top makes the heap grow by the pad.
    // (volatile: a block freed unused would be optimised away)
    void* volatile block = malloc(size_t(1) << 20);
    free(block);
    const uintptr_t end = reinterpret_cast<uintptr_t>(sbrk(0));
    const uintptr_t alignedStart = (start + kHugePage - 1) & ~(kHugePage - 1);
    if (end > alignedStart)
        madvise(reinterpret_cast<void*>(alignedStart), end - alignedStart, MADV_HUGEPAGE);
}

} // namespace

int main(int argc, char** argv) {
    ForbidCoreDumps();
    PrepareHeap();
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return RunMain(args, PasswordSource::System(), std::cin, std::cout, std::cerr);
}
