#pragma once
// Modal message boxes of the dialogs: a refusal or a question with a fixed
// text. Everything goes through one handler, so that tests can record the
// text and give the answer without a person at the screen.

#include <QString>
#include <functional>

class QWidget;

enum class MessageIcon { Information, Question, Exclamation, Stop };
enum class MessageButtons {
    Ok,
    OkCancel,
    YesNo,
    YesNoCancel,
    OverwriteSaveAsCancel,
    MergeOverwriteSaveAsCancel,
    MergeOpenKeep,
    YesChooseFileCancel
};
enum class MessageAnswer { Ok, Cancel, Yes, No, Overwrite, SaveAs, Merge, ChooseFile, Open, Keep };

// Shows `text` modally over `parent` and returns the button pressed (Ok for a
// box with the Ok button only, unless it was closed another way).
MessageAnswer ShowMessageBox(QWidget* parent, const QString& text, MessageIcon icon,
                             MessageButtons buttons = MessageButtons::Ok);

// Replaces the handler (an empty function restores the real boxes); returns the previous one.
using MessageBoxHandler = std::function<MessageAnswer(QWidget*, const QString&, MessageIcon, MessageButtons)>;
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);
