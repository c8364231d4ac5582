#pragma once
// One running handheld program per program file: the first start listens on a
// local socket named after the program's path; a later start finds it, asks it
// to come to the front and ends without opening anything.

#include <QObject>
#include <QString>

class QLocalServer;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // `programPath` names the instance; different program files run side by side.
    explicit SingleInstance(const QString& programPath, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Tries to become the running instance. False when another one runs: it
    // has then been asked to come to the front.
    bool claim();

    // The socket name for a program path (the path itself may hold characters
    // a socket name cannot, and may be too long for one).
    static QString ServerName(const QString& programPath);

signals:
    // A later start asked this instance to come to the front.
    void raiseRequested();

private:
    QString m_name;
    QLocalServer* m_server = nullptr;
};
