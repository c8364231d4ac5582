#pragma once
// One running handheld program per program file: the first start listens on a
// local socket named after the program's path; a later start finds it, hands
// over the database it was given (or only asks it to come to the front) and
// ends without opening anything.

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // `programPath` names the instance; different program files run side by side.
    explicit SingleInstance(const QString& programPath, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Tries to become the running instance. False when another one runs: it
    // has then been asked to come to the front and to open `file` (made
    // absolute here) when one is given.
    bool claim(const QString& file = {});

    // The socket name for a program path (the path itself may hold characters
    // a socket name cannot, and may be too long for one).
    static QString ServerName(const QString& programPath);

signals:
    // A later start asked this instance to come to the front.
    void raiseRequested();
    // ... and to open this database (after raiseRequested).
    void openRequested(const QString& file);

private:
    void readRequests(QLocalSocket* client);

    QString m_name;
    QLocalServer* m_server = nullptr;
};
