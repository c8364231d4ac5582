#pragma once
// Large buffers (long bodies, attachments, their text conversions) are asked
// to be backed by the processor's large pages before they are first written:
// one fault then fills two megabytes instead of four kilobytes, which is most
// of the cost of filling a fresh buffer of a hundred megabytes.

#include <atomic>
#include <cstddef>
#include <thread>

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

// Makes the pages of a fresh buffer present on another processor while this
// one fills the buffer from its front: clearing a fresh page is the kernel's
// work, done at the first write, and it is a large share of filling tens of
// megabytes. The pages are faulted in without being written (the buffer's
// bytes are never touched), so the two threads never race on its content.
// Where the kernel cannot do that, nothing happens.
class Prefault {
public:
    Prefault() = default;
    Prefault(const Prefault&) = delete;
    Prefault& operator=(const Prefault&) = delete;
    ~Prefault() { stop(); }

    // Starts on [data, data + size) when it is worth it; one range at a time.
    void start(const void* data, size_t size);
    // Waits for the helper (stopping it first); the buffer may be freed after.
    void stop();

private:
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
};

} // namespace LargePages
