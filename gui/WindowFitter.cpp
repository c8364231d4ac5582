#include "gui/WindowFitter.h"

#include "core/Edition.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace {

// What the window system adds around the window: title bar and borders.
QMargins decorationOf(const QWidget* window) {
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

bool isFitted(const QWidget* window) {
    switch (window->windowType()) {
    case Qt::Dialog:
    case Qt::Sheet:
    case Qt::Popup:
    case Qt::Tool:
    case Qt::Window:
        return true;
    default:
        return false;
    }
}

// Marks a message box that was given its width here.
constexpr const char* kWrappedProperty = "windowFitterWrapped";

// A message box wider than the room wraps its text to the room's width and
// grows downwards instead.
void wrapMessageBox(QMessageBox* box, int width, int mostHeight) {
    box->setProperty(kWrappedProperty, true);
    for (QLabel* label : box->findChildren<QLabel*>())
        if (!label->text().isEmpty())
            label->setWordWrap(true);
    QLayout* layout = box->layout();
    if (!layout)
        return;
    layout->activate();
    const int height =
        layout->hasHeightForWidth() ? layout->totalHeightForWidth(width) : layout->totalSizeHint().height();
    box->setFixedSize(width, std::min(height, mostHeight));
}

// The toolkit's file dialog without its side bar of places, names in a
// plain list: what a narrow screen has room for.
void narrowFileDialog(QFileDialog* dialog) {
    if (!dialog->testOption(QFileDialog::DontUseNativeDialog))
        return;
    dialog->setViewMode(QFileDialog::List);
    for (const char* name : {"sidebar", "listModeButton", "detailModeButton"})
        if (auto* part = dialog->findChild<QWidget*>(QString::fromLatin1(name)))
            part->hide();
}

} // namespace

WindowFitter::WindowFitter(QWidget* mainWindow) : QObject(mainWindow) {}

WindowFitter* WindowFitter::Install(QWidget* mainWindow) {
    if constexpr (!kHandheld)
        return nullptr;
    if (!mainWindow)
        return nullptr;
    auto* fitter = new WindowFitter(mainWindow);
    QCoreApplication::instance()->installEventFilter(fitter);
    return fitter;
}

QWidget* WindowFitter::mainWindow() const {
    return static_cast<QWidget*>(parent());
}

QRect WindowFitter::FitInside(const QRect& frame, const QRect& proposed, const QMargins& decoration) {
    const QRect room = frame.marginsRemoved(decoration);
    QRect fitted(proposed.topLeft(), proposed.size().boundedTo(room.size().expandedTo(QSize(0, 0))));
    if (fitted.right() > room.right())
        fitted.moveRight(room.right());
    if (fitted.left() < room.left())
        fitted.moveLeft(room.left());
    if (fitted.bottom() > room.bottom())
        fitted.moveBottom(room.bottom());
    if (fitted.top() < room.top())
        fitted.moveTop(room.top());
    return fitted;
}

void WindowFitter::Fit(QWidget* window) const {
    const QWidget* main = mainWindow();
    if (!window || window == main || !main->isVisible() || !isFitted(window))
        return;
    const bool popup = window->windowType() == Qt::Popup;
    // A window not mapped yet has no frame of its own: it will get one like the main window's.
    QMargins decoration = decorationOf(window);
    if (decoration.isNull() && !popup)
        decoration = decorationOf(main);
    const QRect frame = main->frameGeometry();
    const QSize room = frame.marginsRemoved(decoration).size();

    if (auto* files = qobject_cast<QFileDialog*>(window))
        narrowFileDialog(files);
    if (auto* box = qobject_cast<QMessageBox*>(window); box && box->width() > room.width())
        wrapMessageBox(box, room.width(), room.height());
    if (!popup) {
        // The window may shrink below the size its layout asked for.
        if (window->minimumWidth() > room.width())
            window->setMinimumWidth(room.width());
        if (window->minimumHeight() > room.height())
            window->setMinimumHeight(room.height());
    }
    const QRect fitted = FitInside(frame, window->geometry(), decoration);
    if (fitted == window->geometry())
        return;
    if (popup)
        window->move(fitted.topLeft()); // a menu keeps its size and is only moved
    else
        window->setGeometry(fitted);
}

bool WindowFitter::eventFilter(QObject* watched, QEvent* event) {
    // A message box sizes itself for the screen again at each layout
    // request; one wrapped here keeps its width and only lays out its contents.
    if (event->type() == QEvent::LayoutRequest && watched->property(kWrappedProperty).toBool()) {
        if (QLayout* layout = static_cast<QWidget*>(watched)->layout())
            layout->activate();
        return true;
    }
    // The window is fitted before it appears, and once more when it has
    // settled its own size and frame (a message box sizes itself as it is
    // shown, the window system adds the frame later).
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->isWindow() && widget != mainWindow()) {
            Fit(widget);
            QTimer::singleShot(0, widget, [this, widget] { Fit(widget); });
        }
    }
    return QObject::eventFilter(watched, event);
}
