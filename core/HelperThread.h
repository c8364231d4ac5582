#pragma once
// A second thread for work that splits into parts taken in any order: run()
// hands `work` to the helper, runs it on the calling thread too and returns
// once both have come back. The work shares its parts out itself (an atomic
// counter, say); it must not throw.

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class HelperThread {
public:
    HelperThread();
    ~HelperThread();
    HelperThread(const HelperThread&) = delete;
    HelperThread& operator=(const HelperThread&) = delete;

    void run(const std::function<void()>& work);

private:
    void loop();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_done;
    const std::function<void()>* m_work = nullptr;
    bool m_stop = false;
    std::thread m_thread;
};
