#include "gui/FileDialogs.h"

#include "core/Edition.h"

#include <QFileDialog>

namespace {

struct Seam {
    QStringList answers;
    QStringList suggested;
};

Seam& seam() {
    static Seam s;
    return s;
}

bool takeQueued(QString& answer) {
    if (seam().answers.isEmpty())
        return false;
    answer = seam().answers.takeFirst();
    return true;
}

// The handheld uses the toolkit's own dialog, which the window fitter lays
// out for the main window's width; the desktop's may be the desktop's own.
QFileDialog::Options dialogOptions(QFileDialog::Options options = {}) {
    if constexpr (kHandheld)
        options |= QFileDialog::DontUseNativeDialog;
    return options;
}

} // namespace

namespace FileDialogs {

QString ToolkitFilter(const QString& pairedFilter) {
    const QStringList parts = pairedFilter.split(QLatin1Char('|'));
    QStringList lines;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        QString pattern = parts[i + 1];
        if (description.isEmpty() && pattern.isEmpty())
            break;
        pattern.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        // The toolkit reads the pattern from the last parenthesis of the line.
        const int open = description.lastIndexOf(QLatin1Char('('));
        if (open >= 0 && description.endsWith(QLatin1Char(')')))
            description.truncate(open);
        lines << description.trimmed() + QStringLiteral(" (") +
                     pattern.replace(QLatin1Char(';'), QLatin1Char(' ')) + QLatin1Char(')');
    }
    return lines.join(QStringLiteral(";;"));
}

QString GetOpenFileName(QWidget* parent, const QString& pairedFilter, const QString& title) {
    QString answer;
    if (takeQueued(answer))
        return answer;
    return QFileDialog::getOpenFileName(parent, title, QString(), ToolkitFilter(pairedFilter), nullptr,
                                        dialogOptions());
}

QString GetSaveFileName(QWidget* parent, const QString& pairedFilter, const QString& suggestedName) {
    QString answer;
    if (takeQueued(answer)) {
        seam().suggested << suggestedName;
        return answer;
    }
    // The toolkit's save dialog asks before replacing an existing file.
    return QFileDialog::getSaveFileName(parent, QString(), suggestedName, ToolkitFilter(pairedFilter),
                                        nullptr, dialogOptions());
}

QString GetExistingFolder(QWidget* parent, const QString& title, const QString& start) {
    QString answer;
    if (takeQueued(answer))
        return answer;
    return QFileDialog::getExistingDirectory(parent, title, start, dialogOptions(QFileDialog::ShowDirsOnly));
}

void QueueAnswers(const QStringList& answers) {
    seam().answers << answers;
}

QStringList SuggestedNames() {
    return seam().suggested;
}

void ClearQueue() {
    seam().answers.clear();
    seam().suggested.clear();
}

} // namespace FileDialogs
