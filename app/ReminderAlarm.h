#pragma once
// Makes reminders fire: every 20 seconds, and once after each fill of the
// tree (a database opened), it runs the alert pass over the open database
// and shows the "Reminder" window with the notes that fired. A pass waits
// while the database is locked, any modal dialog of the program is open or
// its own window is shown;
// each note fires once per occurrence however long the window stays open,
// since firing stamps the note. Opening a note from the window writes it
// back into the database, the tree and the preview.

#include "core/LocalClock.h"

#include <QObject>
#include <QTimer>

class CNotesDoc;
class CNotesView;

class ReminderAlarm : public QObject {
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 20000;

    ReminderAlarm(CNotesDoc& doc, CNotesView& view);

    // The time the passes read; tests set it.
    LocalClock& clock() { return m_clock; }
    QTimer& timer() { return m_timer; }
    bool isWindowShown() const { return m_windowShown; }

    // One pass now, unless a modal dialog or the window is open.
    void RunPass();

private:
    CNotesDoc& m_doc;
    CNotesView& m_view;
    LocalClock m_clock;
    QTimer m_timer;
    bool m_windowShown = false;
};
