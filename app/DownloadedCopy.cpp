#include "app/DownloadedCopy.h"

#include "app/AppTexts.h"
#include "gui/MessageBox.h"

#include <QFileInfo>

bool ReplacesOpenDatabase(const QString& localPath, const QString& openPath) {
    if (localPath.isEmpty() || openPath.isEmpty())
        return false;
    const QString downloaded = QFileInfo(localPath).canonicalFilePath();
    return !downloaded.isEmpty() && downloaded == QFileInfo(openPath).canonicalFilePath();
}

DownloadedCopyChoice AskAboutDownloadedCopy(QWidget* parent, const QString& localPath) {
    const QString question =
        AppTexts::text(AppTexts::openDownloadedCopy).arg(QFileInfo(localPath).fileName());
    switch (ShowMessageBox(parent, question, MessageIcon::Question, MessageButtons::MergeOpenKeep)) {
    case MessageAnswer::Merge:
        return DownloadedCopyChoice::Merge;
    case MessageAnswer::Open:
        return DownloadedCopyChoice::OpenNow;
    default:
        return DownloadedCopyChoice::KeepOpenDatabase;
    }
}
