#include "gui/DialogRunner.h"

#include <QDialog>
#include <QEventLoop>
#include <QPointer>
#include <algorithm>
#include <vector>

namespace {
DialogRunnerHandler& handler() {
    static DialogRunnerHandler h;
    return h;
}
int g_running = 0;

// The dialogs in exec(), innermost last; those hidden by a suspension; the
// loops that wait for its end.
std::vector<QDialog*> g_executing;
std::vector<QPointer<QDialog>> g_hidden;
std::vector<QEventLoop*> g_waiting;
bool g_suspended = false;
bool g_abandoned = false;

bool takeHidden(QDialog& dialog) {
    const auto found = std::find(g_hidden.begin(), g_hidden.end(), &dialog);
    if (found == g_hidden.end())
        return false;
    g_hidden.erase(found);
    return true;
}

} // namespace

int ExecDialog(QDialog& dialog) {
    for (;;) {
        g_executing.push_back(&dialog);
        const int result = dialog.exec();
        g_executing.erase(std::find(g_executing.begin(), g_executing.end(), &dialog));
        // Hiding a dialog ends its exec(); one hidden by a suspension is run
        // again once the suspension is over.
        if (!takeHidden(dialog))
            return result;
        while (g_suspended) {
            QEventLoop wait;
            g_waiting.push_back(&wait);
            const int ended = wait.exec();
            g_waiting.erase(std::find(g_waiting.begin(), g_waiting.end(), &wait));
            // The program is quitting: every loop ends at once from now on.
            if (ended != 0)
                return QDialog::Rejected;
        }
        if (g_abandoned)
            return QDialog::Rejected;
    }
}

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
    return ExecDialog(dialog);
}

DialogRunnerHandler SetDialogRunner(DialogRunnerHandler h) {
    DialogRunnerHandler previous = std::move(handler());
    handler() = std::move(h);
    return previous;
}

int RunningDialogCount() {
    return g_running;
}

void SuspendDialogs() {
    g_suspended = true;
    g_abandoned = false;
    // Outer dialogs first: each hide ends the loop of its exec().
    for (QDialog* dialog : std::vector<QDialog*>(g_executing)) {
        if (dialog->isVisible()) {
            g_hidden.emplace_back(dialog);
            dialog->hide();
        }
    }
}

void ResumeDialogs(bool showAgain) {
    if (!g_suspended)
        return;
    g_suspended = false;
    g_abandoned = !showAgain;
    for (QEventLoop* wait : g_waiting)
        wait->quit();
}

bool AreDialogsSuspended() {
    return g_suspended;
}
