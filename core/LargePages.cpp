#include "core/LargePages.h"

#include <algorithm>
#include <cstdint>
#include <sys/mman.h>

namespace LargePages {
namespace {
constexpr uintptr_t kPage = 4096;
constexpr uintptr_t kStep = uintptr_t{2} << 20; // one large page a request
} // namespace

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

void Prefault::start(const void* data, size_t size) {
    stop();
#ifdef MADV_POPULATE_WRITE
    if (size < kWorthwhile)
        return;
    // Whole pages: the first and the last are the buffer's own, so mapped.
    const auto begin = reinterpret_cast<uintptr_t>(data) & ~(kPage - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(data) + size + kPage - 1) & ~(kPage - 1);
    m_stop = false;
    m_thread = std::thread([this, begin, end] {
        for (uintptr_t at = begin; at < end && !m_stop.load(std::memory_order_relaxed); at += kStep) {
            // A kernel without the request says so once; then there is nothing to do.
            if (::madvise(reinterpret_cast<void*>(at), std::min(kStep, end - at), MADV_POPULATE_WRITE) != 0)
                return;
        }
    });
#else
    (void)data;
    (void)size;
#endif
}

void Prefault::stop() {
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace LargePages
