#pragma once
// Tells when the open database should lock: after the idle time without
// input to any of the program's windows (read through an event filter on
// the application), when the screen locks or the session is locked, before
// the system suspends, and at once after a resume that came later than the
// idle time. It only asks (lockRequested); the main window locks.
//
// The desktop's signals come over the session bus (the screen saver) and
// the system bus (the login manager) where those buses are there.

#include <QObject>
#include <QTimer>
#include <functional>

class SessionLock : public QObject {
    Q_OBJECT
public:
    // How often the idle time is checked against the wall clock.
    static constexpr int kCheckMs = 1000;

    explicit SessionLock(QObject* parent = nullptr);
    ~SessionLock() override;

    // 0: no idle lock.
    void setIdleSeconds(int seconds);
    int idleSeconds() const { return m_idleSeconds; }
    // While off (nothing to lock, or locked already) nothing is asked for.
    void setArmed(bool armed);

    // The wall clock in milliseconds; tests move it.
    void setClock(std::function<qint64()> clock);
    // Counts as input now.
    void NoteActivity();
    // Checks the idle time now (the check timer and a resume do this).
    void CheckIdle();

public slots:
    // The bus signals, also called by tests.
    void OnScreenSaverActive(bool active);
    void OnSessionLock();
    void OnPrepareForSleep(bool sleeping);

signals:
    void lockRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ListenToBuses();
    void Request();

    int m_idleSeconds = 0;
    bool m_armed = false;
    qint64 m_lastInputMs = 0;
    QTimer m_check;
    std::function<qint64()> m_clock;
};
