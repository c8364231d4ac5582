#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <unistd.h>

namespace {
constexpr int kConnectTimeoutMs = 1000;
constexpr char kRaise[] = "raise\n";
} // namespace

SingleInstance::SingleInstance(const QString& programPath, QObject* parent)
    : QObject(parent), m_name(ServerName(programPath)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::ServerName(const QString& programPath) {
    const QByteArray digest =
        QCryptographicHash::hash(programPath.toUtf8(), QCryptographicHash::Sha256).toHex();
    return QStringLiteral("marrowick-sealbook-%1-%2")
        .arg(::getuid())
        .arg(QString::fromLatin1(digest.left(24)));
}

bool SingleInstance::claim() {
    QLocalSocket probe;
    probe.connectToServer(m_name);
    if (probe.waitForConnected(kConnectTimeoutMs)) {
        probe.write(kRaise);
        probe.waitForBytesWritten(kConnectTimeoutMs);
        probe.disconnectFromServer();
        return false;
    }
    // Nobody answers: a socket file left by a program that crashed is stale.
    QLocalServer::removeServer(m_name);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_name))
        return true; // cannot listen: run anyway rather than refuse to start
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = m_server->nextPendingConnection()) {
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            emit raiseRequested();
        }
    });
    return true;
}
