#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <unistd.h>

namespace {
constexpr int kConnectTimeoutMs = 1000;
// One request a line: "raise", or "open " and a UTF-8 path.
constexpr char kRaise[] = "raise\n";
constexpr char kOpen[] = "open ";
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

bool SingleInstance::claim(const QString& file) {
    QLocalSocket probe;
    probe.connectToServer(m_name);
    if (probe.waitForConnected(kConnectTimeoutMs)) {
        if (file.isEmpty())
            probe.write(kRaise);
        else
            probe.write(kOpen + QFileInfo(file).absoluteFilePath().toUtf8() + '\n');
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
            connect(client, &QLocalSocket::readyRead, this, [this, client] { readRequests(client); });
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            readRequests(client);
        }
    });
    return true;
}

void SingleInstance::readRequests(QLocalSocket* client) {
    while (client->canReadLine()) {
        const QByteArray line = client->readLine().chopped(1);
        emit raiseRequested();
        if (line.startsWith(kOpen) && line.size() > int(sizeof kOpen) - 1)
            emit openRequested(QString::fromUtf8(line.mid(sizeof kOpen - 1)));
    }
}
