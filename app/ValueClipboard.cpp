#include "app/ValueClipboard.h"

#include "core/LockRules.h"

#include <QClipboard>
#include <QDateTime>
#include <QGuiApplication>
#include <QMimeData>

namespace {

constexpr int kTickMs = 1000;

QMimeData* secretData(const QString& value) {
    auto* data = new QMimeData;
    data->setText(value);
    data->setData(QString::fromLatin1(ValueClipboard::kHintMimeType), ValueClipboard::kHintSecret);
    return data;
}

} // namespace

ValueClipboard::ValueClipboard(QObject* parent)
    : QObject(parent), m_clock([] { return QDateTime::currentMSecsSinceEpoch(); }) {
    m_tick.setInterval(kTickMs);
    connect(&m_tick, &QTimer::timeout, this, &ValueClipboard::Tick);
}

ValueClipboard::~ValueClipboard() {
    ClearNow();
}

void ValueClipboard::Copy(const QString& value, int clearSeconds) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setMimeData(secretData(value), QClipboard::Clipboard);
    if (clipboard->supportsSelection())
        clipboard->setMimeData(secretData(value), QClipboard::Selection);
    Arm(value, clearSeconds);
}

void ValueClipboard::MarkSecret(QMimeData& data, int clearSeconds) {
    data.setData(QString::fromLatin1(kHintMimeType), kHintSecret);
    Arm(data.text(), clearSeconds);
}

void ValueClipboard::Arm(const QString& value, int clearSeconds) {
    m_value = value;
    if (clearSeconds <= 0 || value.isEmpty()) {
        // Nothing is cleared later, and nothing is kept to compare with.
        m_value.clear();
        m_clearAtMs = 0;
        m_tick.stop();
    } else {
        m_clearAtMs = m_clock() + qint64(clearSeconds) * 1000;
        m_tick.start();
    }
    emit waitingChanged();
}

int ValueClipboard::secondsLeft() const {
    if (m_value.isEmpty())
        return 0;
    const qint64 left = m_clearAtMs - m_clock();
    return left <= 0 ? 0 : static_cast<int>((left + 999) / 1000);
}

void ValueClipboard::Tick() {
    if (secondsLeft() == 0)
        ClearNow();
    else
        emit waitingChanged();
}

void ValueClipboard::ClearNow() {
    m_tick.stop();
    if (m_value.isEmpty())
        return;
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QClipboard* clipboard = app->clipboard();
        const std::u16string ours = m_value.toStdU16String();
        for (const QClipboard::Mode mode : {QClipboard::Clipboard, QClipboard::Selection}) {
            if (mode == QClipboard::Selection && !clipboard->supportsSelection())
                continue;
            if (ClipboardStillOurs(ours, clipboard->text(mode).toStdU16String()))
                clipboard->clear(mode);
        }
    }
    m_value.fill(QChar(0));
    m_value.clear();
    m_clearAtMs = 0;
    emit waitingChanged();
}
