#include "gui/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace {
MessageBoxHandler& handler() {
    static MessageBoxHandler h;
    return h;
}

QMessageBox::Icon toQtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}
} // namespace

MessageAnswer ShowMessageBox(QWidget* parent, const QString& text, MessageIcon icon, MessageButtons buttons) {
    if (handler())
        return handler()(parent, text, icon, buttons);
    const QMessageBox::StandardButtons shown =
        buttons == MessageButtons::OkCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok;
    QMessageBox box(toQtIcon(icon), QApplication::applicationDisplayName(), text, shown, parent);
    box.setDefaultButton(QMessageBox::Ok);
    const int pressed = box.exec();
    if (buttons == MessageButtons::Ok)
        return MessageAnswer::Ok;
    return pressed == QMessageBox::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler h) {
    MessageBoxHandler previous = std::move(handler());
    handler() = std::move(h);
    return previous;
}
