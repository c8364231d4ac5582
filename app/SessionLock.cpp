#include "app/SessionLock.h"

#include "core/LockRules.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDateTime>
#include <QEvent>

SessionLock::SessionLock(QObject* parent)
    : QObject(parent), m_clock([] { return QDateTime::currentMSecsSinceEpoch(); }) {
    m_lastInputMs = m_clock();
    m_check.setInterval(kCheckMs);
    connect(&m_check, &QTimer::timeout, this, &SessionLock::CheckIdle);
    QCoreApplication::instance()->installEventFilter(this);
    ListenToBuses();
}

SessionLock::~SessionLock() {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

void SessionLock::ListenToBuses() {
    // QtDBus connects bus signals by their signatures only. The screen saver
    // may be served by any program of the session; the login manager's
    // signals come from its own name.
    QDBusConnection session = QDBusConnection::sessionBus();
    if (session.isConnected())
        session.connect(QString(), QStringLiteral("/org/freedesktop/ScreenSaver"),
                        QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("ActiveChanged"), this,
                        SLOT(OnScreenSaverActive(bool)));
    QDBusConnection system = QDBusConnection::systemBus();
    if (!system.isConnected())
        return;
    const QString login = QStringLiteral("org.freedesktop.login1");
    system.connect(login, QStringLiteral("/org/freedesktop/login1"),
                   QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
                   SLOT(OnPrepareForSleep(bool)));
    const QByteArray sessionId = qgetenv("XDG_SESSION_ID");
    if (!sessionId.isEmpty())
        system.connect(login, QString::fromStdString(SessionObjectPath(sessionId.toStdString())),
                       QStringLiteral("org.freedesktop.login1.Session"), QStringLiteral("Lock"), this,
                       SLOT(OnSessionLock()));
}

void SessionLock::setIdleSeconds(int seconds) {
    m_idleSeconds = seconds < 0 ? 0 : seconds;
    NoteActivity();
    setArmed(m_armed);
}

void SessionLock::setArmed(bool armed) {
    m_armed = armed;
    if (m_armed && m_idleSeconds > 0) {
        if (!m_check.isActive())
            m_check.start();
    } else {
        m_check.stop();
    }
}

void SessionLock::setClock(std::function<qint64()> clock) {
    m_clock = std::move(clock);
    NoteActivity();
}

void SessionLock::NoteActivity() {
    m_lastInputMs = m_clock();
}

void SessionLock::CheckIdle() {
    if (m_armed && IdleLockDue(m_lastInputMs, m_clock(), m_idleSeconds))
        Request();
}

void SessionLock::Request() {
    if (m_armed)
        emit lockRequested();
}

void SessionLock::OnScreenSaverActive(bool active) {
    if (active)
        Request();
}

void SessionLock::OnSessionLock() {
    Request();
}

void SessionLock::OnPrepareForSleep(bool sleeping) {
    // Going to sleep locks; waking up locks when the sleep outlasted the idle time.
    if (sleeping)
        Request();
    else
        CheckIdle();
}

bool SessionLock::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TabletPress:
        // The filter sees an event once for each object it passes on its way
        // to the one that takes it; counting it again is cheap.
        m_lastInputMs = m_clock();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
