#include "gui/FileDialogs.h"

#include "core/Edition.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {

struct Seam {
    QStringList answers;
    QStringList suggested;
    QStringList startPlaces;
};

Seam& seam() {
    static Seam s;
    return s;
}

bool takeQueued(QString& answer, const QString& startPlace) {
    if (seam().answers.isEmpty())
        return false;
    answer = seam().answers.takeFirst();
    seam().startPlaces << startPlace;
    return true;
}

struct WorkingFolder {
    std::function<QString()> start;
    std::function<void(const QString&)> chosen;
};

WorkingFolder& workingFolder() {
    static WorkingFolder w;
    return w;
}

QString startFolder() {
    return workingFolder().start ? workingFolder().start() : QString();
}

// A picked file's folder becomes the place the next dialog starts from.
QString remembered(const QString& picked) {
    if (!picked.isEmpty() && workingFolder().chosen)
        workingFolder().chosen(QFileInfo(picked).absolutePath());
    return picked;
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
    const QString start = startFolder();
    QString answer;
    if (takeQueued(answer, start))
        return remembered(answer);
    return remembered(QFileDialog::getOpenFileName(parent, title, start, ToolkitFilter(pairedFilter), nullptr,
                                                   dialogOptions()));
}

QString GetSaveFileName(QWidget* parent, const QString& pairedFilter, const QString& suggestedName) {
    // A bare name is proposed in the working folder; a full path stays where it is.
    const QString start = startFolder();
    const QString place = start.isEmpty() || QFileInfo(suggestedName).isAbsolute()
                              ? suggestedName
                              : QDir(start).filePath(suggestedName);
    QString answer;
    if (takeQueued(answer, place)) {
        seam().suggested << suggestedName;
        return remembered(answer);
    }
    // The toolkit's save dialog asks before replacing an existing file.
    return remembered(QFileDialog::getSaveFileName(parent, QString(), place, ToolkitFilter(pairedFilter),
                                                   nullptr, dialogOptions()));
}

QString GetExistingFolder(QWidget* parent, const QString& title, const QString& start) {
    QString answer;
    if (takeQueued(answer, start))
        return answer;
    return QFileDialog::getExistingDirectory(parent, title, start, dialogOptions(QFileDialog::ShowDirsOnly));
}

void SetWorkingFolder(std::function<QString()> start, std::function<void(const QString&)> chosen) {
    workingFolder() = {std::move(start), std::move(chosen)};
}

QString UnusedSiblingName(const QString& path) {
    const QFileInfo info(path);
    const QString base = info.completeBaseName();
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    for (int n = 2;; ++n) {
        const QString candidate =
            info.dir().filePath(QStringLiteral("%1 (%2)%3").arg(base).arg(n).arg(suffix));
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

void QueueAnswers(const QStringList& answers) {
    seam().answers << answers;
}

QStringList SuggestedNames() {
    return seam().suggested;
}

QStringList StartPlaces() {
    return seam().startPlaces;
}

void ClearQueue() {
    seam().answers.clear();
    seam().suggested.clear();
    seam().startPlaces.clear();
}

} // namespace FileDialogs
