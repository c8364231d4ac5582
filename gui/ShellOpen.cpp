#include "gui/ShellOpen.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace {
ShellOpenHandler& handler() {
    static ShellOpenHandler h;
    return h;
}
} // namespace

bool ShellOpen(const QString& target) {
    if (handler())
        return handler()(target);
    // A plain path is opened as a local file; anything with a scheme as a link.
    const QUrl url = QFileInfo::exists(target) ? QUrl::fromLocalFile(target) : QUrl::fromUserInput(target);
    return QDesktopServices::openUrl(url);
}

ShellOpenHandler SetShellOpenHandler(ShellOpenHandler h) {
    ShellOpenHandler previous = std::move(handler());
    handler() = std::move(h);
    return previous;
}
