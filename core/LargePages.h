#pragma once
// Large buffers (long bodies, attachments, their text conversions) are asked
// to be backed by the processor's large pages before they are first written:
// one fault then fills two megabytes instead of four kilobytes, which is most
// of the cost of filling a fresh buffer of a hundred megabytes.

#include <cstddef>

namespace LargePages {

// Buffers from this size on are worth the advice.
inline constexpr size_t kWorthwhile = size_t{4} << 20;

// Advises the kernel for the whole large pages inside [data, data + size);
// does nothing for smaller buffers or where the advice is not available.
void advise(const void* data, size_t size);

// Reserves room for `size` elements in `buffer` (a std::string, u16string or
// vector) and advises it, so that the resize that follows fills large pages.
template <typename Buffer> void reserve(Buffer& buffer, size_t size) {
    if (size < kWorthwhile / sizeof(typename Buffer::value_type) || buffer.capacity() >= size)
        return;
    buffer.reserve(size);
    advise(buffer.data(), buffer.capacity() * sizeof(typename Buffer::value_type));
}

// Buffers from this size on are faulted in by one call rather than a fault a page.
inline constexpr size_t kPopulateWorthwhile = size_t{256} << 10;

// Asks the kernel to map the whole pages inside [data, data + size) at once,
// writable, before they are first written; does nothing for smaller buffers
// or where the kernel cannot.
void populate(void* data, size_t size);

// reserve() for a buffer whose `size` elements are all about to be written:
// their pages are also faulted in by one call.
template <typename Buffer> void prepare(Buffer& buffer, size_t size) {
    if (buffer.capacity() >= size)
        return;
    reserve(buffer, size);
    buffer.reserve(size);
    populate(buffer.data(), size * sizeof(typename Buffer::value_type));
}

} // namespace LargePages
