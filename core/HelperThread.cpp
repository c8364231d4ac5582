#include "core/HelperThread.h"

HelperThread::HelperThread() : m_thread(&HelperThread::loop, this) {}

HelperThread::~HelperThread() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void HelperThread::run(const std::function<void()>& work) {
    {
        std::lock_guard lock(m_mutex);
        m_work = &work;
    }
    m_wake.notify_one();
    work();
    std::unique_lock lock(m_mutex);
    m_done.wait(lock, [this] { return m_work == nullptr; });
}

void HelperThread::loop() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || m_work != nullptr; });
        if (m_stop)
            return;
        lock.unlock();
        (*m_work)();
        lock.lock();
        m_work = nullptr;
        m_done.notify_one();
    }
}
