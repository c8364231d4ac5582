#include "gui/OffUiThread.h"

#include <QApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <exception>
#include <thread>

void RunOffUiThread(const std::function<void()>& work) {
    QEventLoop loop;
    std::exception_ptr failure;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        // Queued: the loop below quits even when the work ends before it runs.
        QMetaObject::invokeMethod(
            &loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    QApplication::restoreOverrideCursor();
    if (failure)
        std::rethrow_exception(failure);
}
