#include "gui/QtSettingsStore.h"

#include "gui/ControlTexts.h"

#include <QDir>
#include <QFileInfo>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The file holds the FTP log-in among other things: it is made readable by
// its owner only before anything is written to it, and a file left readable
// by others is closed to them. Rewrites keep the file's permissions.
void restrictToOwner(const QString& fileName) {
    const QByteArray path = QFile::encodeName(fileName);
    struct stat st {};
    if (::stat(path.constData(), &st) == 0) {
        if ((st.st_mode & 077) != 0)
            ::chmod(path.constData(), st.st_mode & 0700);
        return;
    }
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0)
        ::close(fd);
}

QString key(const std::string& section, const std::string& name) {
    return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(name);
}

} // namespace

QtSettingsStore::QtSettingsStore()
    // On Linux the native format is the INI file "Marrowick Sealbook.conf".
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             QString::fromUtf8(ControlTexts::organisation),
                                             QString::fromUtf8(ControlTexts::application))) {
    restrictToOwner(m_settings->fileName());
}

QtSettingsStore::QtSettingsStore(const QString& iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat)) {
    restrictToOwner(m_settings->fileName());
}

QtSettingsStore::~QtSettingsStore() = default;

std::optional<std::u16string> QtSettingsStore::readString(const std::string& section,
                                                          const std::string& name) const {
    const QVariant value = m_settings->value(key(section, name));
    if (!value.isValid())
        return std::nullopt;
    return value.toString().toStdU16String();
}

void QtSettingsStore::writeString(const std::string& section, const std::string& name,
                                  const std::u16string& value) {
    m_settings->setValue(key(section, name), QString::fromStdU16String(value));
}

std::optional<int32_t> QtSettingsStore::readInt(const std::string& section, const std::string& name) const {
    const QVariant value = m_settings->value(key(section, name));
    if (!value.isValid())
        return std::nullopt;
    // INI files hold text; a value that is no number reads as missing, so the
    // caller's default applies instead of a silent 0.
    bool ok = false;
    const qlonglong number = value.toLongLong(&ok);
    if (!ok || number < INT32_MIN || number > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(number);
}

void QtSettingsStore::writeInt(const std::string& section, const std::string& name, int32_t value) {
    m_settings->setValue(key(section, name), value);
}

std::optional<std::vector<uint8_t>> QtSettingsStore::readBinary(const std::string& section,
                                                                const std::string& name) const {
    const QVariant value = m_settings->value(key(section, name));
    if (!value.isValid())
        return std::nullopt;
    const QByteArray bytes =
        value.typeId() == QMetaType::QByteArray ? value.toByteArray() : value.toString().toUtf8();
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

void QtSettingsStore::writeBinary(const std::string& section, const std::string& name,
                                  const std::vector<uint8_t>& value) {
    m_settings->setValue(key(section, name), QByteArray(reinterpret_cast<const char*>(value.data()),
                                                        static_cast<qsizetype>(value.size())));
}

void QtSettingsStore::removeSection(const std::string& section) {
    m_settings->remove(QString::fromStdString(section));
}

bool QtSettingsStore::sync() {
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

QString QtSettingsStore::fileName() const {
    return m_settings->fileName();
}
