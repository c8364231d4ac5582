#include "gui/DialogRunner.h"

#include <QDialog>

namespace {
DialogRunnerHandler& handler() {
    static DialogRunnerHandler h;
    return h;
}
int g_running = 0;
} // namespace

int RunDialog(QDialog& dialog) {
    struct Count {
        Count() { ++g_running; }
        ~Count() { --g_running; }
    } count;
    if (handler()) {
        const int result = handler()(dialog);
        dialog.setResult(result);
        return result;
    }
    return dialog.exec();
}

DialogRunnerHandler SetDialogRunner(DialogRunnerHandler h) {
    DialogRunnerHandler previous = std::move(handler());
    handler() = std::move(h);
    return previous;
}

int RunningDialogCount() {
    return g_running;
}
