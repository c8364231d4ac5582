#pragma once
// A second thread for work that splits into parts done in any order. run()
// does the parts on the calling thread and, as far as it gets to them first,
// on the helper; it returns once every part is done. The calling thread never
// waits for the helper to start: when the machine is busy and the helper is
// not running, the caller simply does all the parts itself.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <thread>

class HelperThread {
public:
    HelperThread();
    ~HelperThread();
    HelperThread(const HelperThread&) = delete;
    HelperThread& operator=(const HelperThread&) = delete;

    // Calls work(0) ... work(parts - 1); `work` must not throw.
    void run(uint32_t parts, const std::function<void(uint32_t)>& work);

private:
    void loop();
    // Takes and does parts of run `round` until none is left.
    void doParts(uint32_t round);

    // The round in its high half, the next part to take in its low half:
    // a part is taken only in the round it belongs to.
    std::atomic<uint64_t> m_next{0};
    std::atomic<uint32_t> m_round{0};
    std::atomic<uint32_t> m_parts{0};
    std::atomic<uint32_t> m_done{0};
    std::atomic<const std::function<void(uint32_t)>*> m_work{nullptr};
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};
