#include "core/LargePages.h"

#include <cstdint>
#include <sys/mman.h>

namespace LargePages {

namespace {

// Gives the kernel `advice` for the whole pages of `pageSize` inside
// [data, data + size); the advice is a wish, and its failure is harmless.
void adviseWholePages(const void* data, size_t size, uintptr_t pageSize, int advice) {
    const auto begin = reinterpret_cast<uintptr_t>(data);
    const uintptr_t first = (begin + pageSize - 1) & ~(pageSize - 1);
    const uintptr_t last = (begin + size) & ~(pageSize - 1);
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, advice);
}

} // namespace

void advise(const void* data, size_t size) {
#ifdef MADV_HUGEPAGE
    if (size >= kWorthwhile)
        adviseWholePages(data, size, uintptr_t{2} << 20, MADV_HUGEPAGE);
#else
    (void)data;
    (void)size;
#endif
}

void populate(void* data, size_t size) {
#ifdef MADV_POPULATE_WRITE
    // Where the kernel cannot, the pages fault in as they are written.
    if (size >= kPopulateWorthwhile)
        adviseWholePages(data, size, 4096, MADV_POPULATE_WRITE);
#else
    (void)data;
    (void)size;
#endif
}

} // namespace LargePages
