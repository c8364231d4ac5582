// sealbook: the command-line companion. Lists, shows, exports, imports,
// re-keys, verifies and searches database files.

#include "cli/Commands.h"
#include "core/SecretWipe.h"

#include <iostream>
#include <malloc.h>

namespace {

// A database of 100,000 notes is some hundred thousand small blocks: the heap
// is grown in large steps rather than one call per block. It is not asked for
// huge pages: on a virtual machine a fresh huge page is often one the host has
// taken back, and the host filling it again costs more than small pages do.
// Threads keep heaps of their own, so that copies read side by side do not
// wait for one another's allocations.
void PrepareHeap() {
    constexpr size_t kStep = size_t(256) << 20;
    mallopt(M_MMAP_THRESHOLD, 16 << 20);
    mallopt(M_TOP_PAD, static_cast<int>(kStep));
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(kStep));
}

} // namespace

int main(int argc, char** argv) {
    ForbidCoreDumps();
    PrepareHeap();
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return RunMain(args, PasswordSource::System(), std::cin, std::cout, std::cerr);
}
