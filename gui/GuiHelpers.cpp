#include "gui/GuiHelpers.h"

#include "gui/ControlTexts.h"
#include "gui/IconLists.h"

#include <QSettings>
#include <QStandardPaths>
#include <QWidget>
#include <memory>

namespace {

QString g_systemFile;
QString g_userFile;

std::unique_ptr<QSettings> openSettings(bool system) {
    const QString& path = system ? g_systemFile : g_userFile;
    if (!path.isEmpty())
        return std::make_unique<QSettings>(path, QSettings::IniFormat);
    return std::make_unique<QSettings>(
        QSettings::NativeFormat, system ? QSettings::SystemScope : QSettings::UserScope,
        QString::fromUtf8(ControlTexts::organisation), QString::fromUtf8(ControlTexts::application));
}

bool readFrom(bool system, const QString& key, QByteArray& value) {
    const auto settings = openSettings(system);
    if (settings->status() != QSettings::NoError)
        return false;
    const QVariant stored = settings->value(key);
    if (!stored.isValid())
        return false;
    value = stored.typeId() == QMetaType::QByteArray ? stored.toByteArray() : stored.toString().toUtf8();
    return true;
}

bool writeTo(bool system, const QString& key, const QByteArray& value) {
    const auto settings = openSettings(system);
    if (!settings->isWritable())
        return false;
    settings->setValue(key, value);
    settings->sync();
    return settings->status() == QSettings::NoError;
}

} // namespace

void MakeLabelBold(QWidget* control) {
    if (!control)
        return;
    QFont font = control->font();
    font.setWeight(QFont::Bold);
    control->setFont(font);
}

QPixmap LoadAppIcon(int resourceId, bool large) {
    return IconLists::instance().iconForResource(resourceId, large);
}

QString DocumentsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

bool ReadBinarySetting(const QString& section, const QString& name, QByteArray& value, bool currentUserOnly) {
    const QString key = section + QLatin1Char('/') + name;
    if (!currentUserOnly && readFrom(true, key, value))
        return true;
    return readFrom(false, key, value);
}

bool WriteBinarySetting(const QString& section, const QString& name, const QByteArray& value,
                        bool currentUserOnly) {
    const QString key = section + QLatin1Char('/') + name;
    if (!currentUserOnly && writeTo(true, key, value))
        return true;
    return writeTo(false, key, value);
}

void SetBinarySettingFiles(const QString& systemFile, const QString& userFile) {
    g_systemFile = systemFile;
    g_userFile = userFile;
}
