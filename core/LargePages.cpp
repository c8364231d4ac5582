#include "core/LargePages.h"

#include <cstdint>
#include <sys/mman.h>

namespace LargePages {

void advise(const void* data, size_t size) {
#ifdef MADV_HUGEPAGE
    constexpr uintptr_t kLargePage = uintptr_t{2} << 20;
    if (size < kWorthwhile)
        return;
    const auto begin = reinterpret_cast<uintptr_t>(data);
    const uintptr_t first = (begin + kLargePage - 1) & ~(kLargePage - 1);
    const uintptr_t last = (begin + size) & ~(kLargePage - 1);
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first,
                  MADV_HUGEPAGE); // only advice: failure is harmless
#else
    (void)data;
    (void)size;
#endif
}

void populate(void* data, size_t size) {
#ifdef MADV_POPULATE_WRITE
    constexpr uintptr_t kPage = 4096;
    if (size < kPopulateWorthwhile)
        return;
    const auto begin = reinterpret_cast<uintptr_t>(data);
    const uintptr_t first = (begin + kPage - 1) & ~(kPage - 1);
    const uintptr_t last = (begin + size) & ~(kPage - 1);
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first,
                  MADV_POPULATE_WRITE); // failure is harmless: the pages fault in as written
#else
    (void)data;
    (void)size;
#endif
}

} // namespace LargePages
