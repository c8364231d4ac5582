#pragma once
// The handheld dialog's soft-key bar: a bar along the bottom of the dialog with
// two keys carrying the dialog's commands, in place of its own buttons. On the
// desktop a dialog keeps its buttons and no bar is made, so one dialog source
// serves both editions:
//
//     auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
//     layout->addWidget(buttons);
//     CreateDialogMenuBar(this, buttons);   // handheld: OK / Cancel soft keys
//
// A key whose action carries a menu opens that menu when pressed.

#include <QWidget>

class QAction;
class QDialogButtonBox;
class QToolButton;

class DialogMenuBar : public QWidget {
    Q_OBJECT

public:
    explicit DialogMenuBar(QWidget* dialog);

    void setLeftKey(QAction* action);
    void setRightKey(QAction* action);
    QAction* leftKey() const { return m_leftAction; }
    QAction* rightKey() const { return m_rightAction; }
    QToolButton* leftButton() const { return m_left; }
    QToolButton* rightButton() const { return m_right; }

    // The bar of a dialog, or null when it has none.
    static DialogMenuBar* Find(const QWidget* dialog);

    // Keeps the bar along the dialog's bottom edge, for dialogs whose layout
    // cannot take it.
    void followDialog();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setKey(QToolButton* button, QAction*& slot, QAction* action);
    void pressKey(QToolButton* button, QAction* action);

    QToolButton* m_left;
    QToolButton* m_right;
    QAction* m_leftAction = nullptr;
    QAction* m_rightAction = nullptr;
};

// Handheld: gives the dialog a soft-key bar whose keys press the button box's
// accept and reject buttons (their texts are taken over), and hides the button
// box. Desktop: does nothing. Returns success.
bool CreateDialogMenuBar(QWidget* dialog, QDialogButtonBox* buttons);

// Handheld: gives the dialog a soft-key bar with the two given commands (either
// may be null; an action with a menu opens it). Desktop: does nothing. Returns success.
bool CreateDialogMenuBar(QWidget* dialog, QAction* leftKey, QAction* rightKey);
