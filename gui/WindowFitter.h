#pragma once
// Handheld: keeps every window the program opens within its main window, as
// on a phone, where nothing can lie beside the screen. The main window
// installs one on the application; each dialog, message box, file dialog and
// pop-up menu is fitted as it is shown: made no larger than the main window's
// frame (a message box wraps its text to that width) and moved inside it.
// On the desktop nothing is installed and windows go where they please.

#include <QMargins>
#include <QObject>
#include <QRect>

class QWidget;

class WindowFitter : public QObject {
    Q_OBJECT
public:
    // Handheld: fits the windows shown from now on while `mainWindow` lives
    // (the fitter is its child). Desktop: does nothing. Returns the fitter or null.
    static WindowFitter* Install(QWidget* mainWindow);

    // The geometry for a window now at `proposed` whose frame adds
    // `decoration` around it, so that the frame lies within `frame`: no larger
    // than the frame allows, at its place when it fits there, else moved the
    // least distance inside.
    static QRect FitInside(const QRect& frame, const QRect& proposed, const QMargins& decoration);

    // Fits `window` into the main window's frame now (nothing while the main
    // window is hidden, or for the main window itself).
    void Fit(QWidget* window) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit WindowFitter(QWidget* mainWindow);

    QWidget* mainWindow() const;
};
