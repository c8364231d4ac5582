#include "gui/DialogMenuBar.h"

#include "core/Edition.h"

#include <QAction>
#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

namespace {

constexpr const char* kBarName = "DialogMenuBar";

// Puts the bar along the bottom of the dialog, below whatever it holds. A
// vertical or grid layout takes the bar as its last row; otherwise the
// dialog's contents give up a strip at the bottom and the bar follows the
// dialog's size there.
void placeBar(QWidget* dialog, DialogMenuBar* bar) {
    if (auto* box = qobject_cast<QBoxLayout*>(dialog->layout());
        box && box->direction() == QBoxLayout::TopToBottom) {
        box->addWidget(bar);
    } else if (auto* grid = qobject_cast<QGridLayout*>(dialog->layout())) {
        grid->addWidget(bar, grid->rowCount(), 0, 1, qMax(1, grid->columnCount()));
    } else {
        QMargins margins = dialog->contentsMargins();
        margins.setBottom(margins.bottom() + bar->sizeHint().height());
        dialog->setContentsMargins(margins);
        bar->followDialog();
    }
}

QAction* actionForButton(QWidget* dialog, QAbstractButton* button) {
    if (!button)
        return nullptr;
    auto* action = new QAction(button->text(), dialog);
    QObject::connect(action, &QAction::triggered, button, &QAbstractButton::click);
    return action;
}

QAbstractButton* buttonWithRole(QDialogButtonBox* buttons, QDialogButtonBox::ButtonRole role) {
    for (QAbstractButton* button : buttons->buttons())
        if (buttons->buttonRole(button) == role)
            return button;
    return nullptr;
}

} // namespace

DialogMenuBar::DialogMenuBar(QWidget* dialog)
    : QWidget(dialog), m_left(new QToolButton(this)), m_right(new QToolButton(this)) {
    setObjectName(QString::fromLatin1(kBarName));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QToolButton* key : {m_left, m_right}) {
        key->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        key->setToolButtonStyle(Qt::ToolButtonTextOnly);
        key->setEnabled(false);
        layout->addWidget(key);
    }
    connect(m_left, &QToolButton::clicked, this, [this] { pressKey(m_left, m_leftAction); });
    connect(m_right, &QToolButton::clicked, this, [this] { pressKey(m_right, m_rightAction); });
    setAutoFillBackground(true);
    dialog->installEventFilter(this);
}

void DialogMenuBar::setKey(QToolButton* button, QAction*& slot, QAction* action) {
    if (slot)
        disconnect(slot, nullptr, button, nullptr);
    slot = action;
    const auto show = [button, action] {
        button->setText(action ? action->text() : QString());
        button->setEnabled(action && action->isEnabled());
        button->setVisible(!action || action->isVisible());
    };
    show();
    if (action)
        connect(action, &QAction::changed, button, show);
}

void DialogMenuBar::pressKey(QToolButton* button, QAction* action) {
    if (!action || !action->isEnabled())
        return;
    if (QMenu* menu = action->menu<QMenu*>()) {
        PopupAbove(menu, button);
        return;
    }
    action->trigger();
}

void DialogMenuBar::PopupAbove(QMenu* menu, const QWidget* key) {
    const QSize size = menu->sizeHint();
    const QWidget* window = key->window();
    const bool rightHalf = key->mapTo(window, key->rect().center()).x() > window->width() / 2;
    const QPoint corner =
        rightHalf ? QPoint(key->width() - size.width(), -size.height()) : QPoint(0, -size.height());
    menu->popup(key->mapToGlobal(corner));
}

void DialogMenuBar::setLeftKey(QAction* action) {
    setKey(m_left, m_leftAction, action);
}

void DialogMenuBar::setRightKey(QAction* action) {
    setKey(m_right, m_rightAction, action);
}

void DialogMenuBar::followDialog() {
    m_followsDialog = true;
    const QWidget* dialog = parentWidget();
    const int height = sizeHint().height();
    setGeometry(0, dialog->height() - height, dialog->width(), height);
    raise();
}

bool DialogMenuBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched != parentWidget())
        return QWidget::eventFilter(watched, event);
    if (m_followsDialog && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        followDialog();
    if (m_leftOnReturn && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = key->modifiers() == Qt::NoModifier ||
                           (key->modifiers() == Qt::KeypadModifier && key->key() == Qt::Key_Enter);
        if (plain && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            pressKey(m_left, m_leftAction);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

DialogMenuBar* DialogMenuBar::Find(const QWidget* dialog) {
    return dialog ? dialog->findChild<DialogMenuBar*>(QString::fromLatin1(kBarName)) : nullptr;
}

bool CreateDialogMenuBar(QWidget* dialog, QAction* leftKey, QAction* rightKey) {
    if constexpr (!kHandheld)
        return true;
    if (!dialog)
        return false;
    DialogMenuBar* bar = DialogMenuBar::Find(dialog);
    if (!bar) {
        bar = new DialogMenuBar(dialog);
        placeBar(dialog, bar);
    }
    bar->setLeftKey(leftKey);
    bar->setRightKey(rightKey);
    return true;
}

bool CreateDialogMenuBar(QWidget* dialog, QDialogButtonBox* buttons) {
    if constexpr (!kHandheld)
        return true;
    if (!dialog || !buttons)
        return false;
    QAbstractButton* accept = buttonWithRole(buttons, QDialogButtonBox::AcceptRole);
    QAbstractButton* reject = buttonWithRole(buttons, QDialogButtonBox::RejectRole);
    if (!reject)
        reject = buttonWithRole(buttons, QDialogButtonBox::DestructiveRole);
    const bool made =
        CreateDialogMenuBar(dialog, actionForButton(dialog, accept), actionForButton(dialog, reject));
    if (DialogMenuBar* bar = DialogMenuBar::Find(dialog))
        bar->setLeftKeyOnReturn(accept != nullptr);
    buttons->hide();
    return made;
}
