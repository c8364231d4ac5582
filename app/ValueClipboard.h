#pragma once
// Puts a value of a note on the clipboard and the X selection marked as a
// secret (clipboard managers that honour the mark keep no history of it),
// and clears both again after the time set, on lock and on exit, but only
// while they still hold that value: a later copy, ours or another
// program's, is left alone.

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

class QMimeData;

class ValueClipboard : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kHintMimeType = "x-kde-passwordManagerHint";
    static constexpr const char* kHintSecret = "secret";

    explicit ValueClipboard(QObject* parent = nullptr);
    // Clears what still waits to be cleared.
    ~ValueClipboard() override;

    // Copies `value`; it is cleared after `clearSeconds` (0: it stays).
    void Copy(const QString& value, int clearSeconds);
    // Marks clipboard data made elsewhere as secret and clears its text
    // after `clearSeconds` like a copied value.
    void MarkSecret(QMimeData& data, int clearSeconds);
    // Clears the clipboard and the selection now where they still hold the value.
    void ClearNow();

    // Seconds until the value is cleared; 0 when none waits.
    int secondsLeft() const;

    // The wall clock in milliseconds; tests move it.
    void setClock(std::function<qint64()> clock) { m_clock = std::move(clock); }

signals:
    // A value started or stopped waiting, or another second passed.
    void waitingChanged();

private:
    void Arm(const QString& value, int clearSeconds);
    void Tick();

    QString m_value;
    qint64 m_clearAtMs = 0;
    QTimer m_tick;
    std::function<qint64()> m_clock;
};
