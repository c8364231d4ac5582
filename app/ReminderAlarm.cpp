#include "app/ReminderAlarm.h"

#include "app/CNotesDoc.h"
#include "app/CNotesView.h"
#include "core/NotesMgr.h"
#include "core/ReminderPass.h"
#include "dialogs/CReminderAlerts.h"
#include "gui/DialogRunner.h"

#include <QApplication>

ReminderAlarm::ReminderAlarm(CNotesDoc& doc, CNotesView& view) : QObject(&view), m_doc(doc), m_view(view) {
    m_timer.setInterval(kIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &ReminderAlarm::RunPass);
    m_timer.start();
}

void ReminderAlarm::RunPass() {
    // While locked, due reminders wait: no note title shows on a locked screen.
    if (m_doc.isLocked() || m_windowShown || RunningDialogCount() > 0 || QApplication::activeModalWidget())
        return;
    NotesMgr& notes = m_doc.notes();
    const std::vector<int32_t> fired = RunReminderPass(notes, m_clock.Now());
    if (fired.empty())
        return;
    // Firing stamps the notes: the database has changed, so that a reminder
    // that fired is not shown again after the file is saved and reopened.
    m_doc.setModified(true);
    QWidget* window = m_view.window();
    if (!window->isActiveWindow())
        QApplication::alert(window);
    m_windowShown = true;
    CReminderAlerts alerts(notes, fired, window);
    connect(&alerts, &CReminderAlerts::noteWritten, &m_view, &CNotesView::RefreshNode);
    RunDialog(alerts);
    m_windowShown = false;
}
