#include "gui/MessageBox.h"

#include "gui/ControlTexts.h"
#include "gui/DialogRunner.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <vector>

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
    QMessageBox box(toQtIcon(icon), QApplication::applicationDisplayName(), text, QMessageBox::NoButton,
                    parent);
    // Each button with the answer it gives; Escape and the close box give the last.
    std::vector<std::pair<QAbstractButton*, MessageAnswer>> answers;
    auto add = [&](QMessageBox::StandardButton standard, MessageAnswer answer) {
        answers.emplace_back(box.addButton(standard), answer);
    };
    switch (buttons) {
    case MessageButtons::Ok:
        add(QMessageBox::Ok, MessageAnswer::Ok);
        break;
    case MessageButtons::OkCancel:
        add(QMessageBox::Ok, MessageAnswer::Ok);
        add(QMessageBox::Cancel, MessageAnswer::Cancel);
        break;
    case MessageButtons::YesNo:
        add(QMessageBox::Yes, MessageAnswer::Yes);
        add(QMessageBox::No, MessageAnswer::No);
        break;
    case MessageButtons::YesNoCancel:
        add(QMessageBox::Yes, MessageAnswer::Yes);
        add(QMessageBox::No, MessageAnswer::No);
        add(QMessageBox::Cancel, MessageAnswer::Cancel);
        break;
    case MessageButtons::MergeOverwriteSaveAsCancel:
        answers.emplace_back(box.addButton(QString::fromUtf8(ControlTexts::merge), QMessageBox::AcceptRole),
                             MessageAnswer::Merge);
        [[fallthrough]];
    case MessageButtons::OverwriteSaveAsCancel:
        answers.emplace_back(box.addButton(QObject::tr("Overwrite"), QMessageBox::AcceptRole),
                             MessageAnswer::Overwrite);
        answers.emplace_back(box.addButton(QObject::tr("Save As"), QMessageBox::ActionRole),
                             MessageAnswer::SaveAs);
        add(QMessageBox::Cancel, MessageAnswer::Cancel);
        break;
    case MessageButtons::MergeOpenKeep:
        answers.emplace_back(box.addButton(QString::fromUtf8(ControlTexts::merge), QMessageBox::AcceptRole),
                             MessageAnswer::Merge);
        answers.emplace_back(box.addButton(QString::fromUtf8(ControlTexts::open), QMessageBox::ActionRole),
                             MessageAnswer::Open);
        answers.emplace_back(box.addButton(QString::fromUtf8(ControlTexts::keep), QMessageBox::RejectRole),
                             MessageAnswer::Keep);
        break;
    case MessageButtons::YesChooseFileCancel:
        add(QMessageBox::Yes, MessageAnswer::Yes);
        answers.emplace_back(
            box.addButton(QString::fromUtf8(ControlTexts::chooseAnotherFile), QMessageBox::ActionRole),
            MessageAnswer::ChooseFile);
        add(QMessageBox::Cancel, MessageAnswer::Cancel);
        break;
    }
    box.setDefaultButton(qobject_cast<QPushButton*>(answers.front().first));
    box.setEscapeButton(answers.back().first);
    ExecDialog(box);
    for (const auto& [button, answer] : answers)
        if (box.clickedButton() == button)
            return answer;
    return answers.back().second;
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler h) {
    MessageBoxHandler previous = std::move(handler());
    handler() = std::move(h);
    return previous;
}
