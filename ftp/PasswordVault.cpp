#include "ftp/PasswordVault.h"

#include "ftp/client/FtpTexts.h"

#include <QEventLoop>
#include <qt6keychain/keychain.h>

namespace {

// Runs a keychain job to its end; the jobs report only through signals.
template <typename Job> QKeychain::Error runJob(Job& job) {
    job.setAutoDelete(false);
    job.setKey(QString::fromUtf8(FtpTexts::keyringKey));
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec();
    return job.error();
}

class KeychainVault : public PasswordVault {
public:
    bool available() override {
        if (!m_available) {
            QKeychain::ReadPasswordJob job(QString::fromUtf8(FtpTexts::keyringService));
            const QKeychain::Error error = runJob(job);
            m_available = error == QKeychain::NoError || error == QKeychain::EntryNotFound;
        }
        return *m_available;
    }

    std::optional<QString> read() override {
        if (!available())
            return std::nullopt;
        QKeychain::ReadPasswordJob job(QString::fromUtf8(FtpTexts::keyringService));
        if (runJob(job) != QKeychain::NoError)
            return std::nullopt;
        return job.textData();
    }

    bool write(const QString& password) override {
        if (!available())
            return false;
        QKeychain::WritePasswordJob job(QString::fromUtf8(FtpTexts::keyringService));
        job.setTextData(password);
        return runJob(job) == QKeychain::NoError;
    }

private:
    std::optional<bool> m_available;
};

class AbsentVault : public PasswordVault {
public:
    bool available() override { return false; }
    std::optional<QString> read() override { return std::nullopt; }
    bool write(const QString&) override { return false; }
};

} // namespace

PasswordVault& ProgramPasswordVault() {
    static KeychainVault vault;
    return vault;
}

PasswordVault& NoPasswordVault() {
    static AbsentVault vault;
    return vault;
}
