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
// A key whose action carries a menu opens that menu when pressed. Return in a
// bar made from a button box presses the accept key, as the hidden default
// button would.

#include <QWidget>

class QAction;
class QDialogButtonBox;
class QMenu;
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

    // Return and Enter not taken by the focused control press the left key.
    void setLeftKeyOnReturn(bool on) { m_leftOnReturn = on; }

    // Opens `menu` above `key`, as soft keys do: its bottom on the key's top
    // edge, its right edge on the key's right edge for a key in the right
    // half of its window, else its left edge on the key's left edge.
    static void PopupAbove(QMenu* menu, const QWidget* key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setKey(QToolButton* button, QAction*& slot, QAction* action);
    void pressKey(QToolButton* button, QAction* action);

    QToolButton* m_left;
    QToolButton* m_right;
    QAction* m_leftAction = nullptr;
    QAction* m_rightAction = nullptr;
    bool m_leftOnReturn = false;
    bool m_followsDialog = false;
};

// Handheld: gives the dialog a soft-key bar whose keys press the button box's
// accept and reject buttons (their texts are taken over), and hides the button
// box. Desktop: does nothing. Returns success.
bool CreateDialogMenuBar(QWidget* dialog, QDialogButtonBox* buttons);

// Handheld: gives the dialog a soft-key bar with the two given commands (either
// may be null; an action with a menu opens it). Desktop: does nothing. Returns success.
bool CreateDialogMenuBar(QWidget* dialog, QAction* leftKey, QAction* rightKey);
