#include "core/HelperThread.h"

HelperThread::HelperThread() : m_thread(&HelperThread::loop, this) {}

HelperThread::~HelperThread() {
    m_stop = true;
    m_round.fetch_add(1);
    m_round.notify_one();
    m_thread.join();
}

void HelperThread::run(uint32_t parts, const std::function<void(uint32_t)>& work) {
    // Every part of the previous round is done, so the helper holds none.
    const uint32_t round = m_round.load() + 1;
    // Nothing can be taken while the round's parts are set up.
    m_next = UINT32_MAX;
    m_work = &work;
    m_parts = parts;
    m_done = 0;
    m_next = uint64_t{round} << 32;
    m_round = round;
    m_round.notify_one();
    doParts(round);
    for (uint32_t done; (done = m_done.load()) != parts;)
        m_done.wait(done);
}

void HelperThread::doParts(uint32_t round) {
    for (;;) {
        uint64_t next = m_next.load();
        do {
            if (static_cast<uint32_t>(next >> 32) != round || static_cast<uint32_t>(next) >= m_parts.load())
                return;
        } while (!m_next.compare_exchange_weak(next, next + 1));
        (*m_work.load())(static_cast<uint32_t>(next));
        m_done.fetch_add(1);
        m_done.notify_one();
    }
}

void HelperThread::loop() {
    uint32_t seen = 0;
    for (;;) {
        m_round.wait(seen);
        seen = m_round.load();
        if (m_stop)
            return;
        doParts(seen);
    }
}
