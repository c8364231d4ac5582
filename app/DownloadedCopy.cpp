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
    return ShowMessageBox(parent, question, MessageIcon::Question, MessageButtons::YesNo) ==
                   MessageAnswer::Yes
               ? DownloadedCopyChoice::OpenNow
               : DownloadedCopyChoice::KeepOpenDatabase;
}
