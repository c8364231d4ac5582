#include "gui/CColourPopup.h"

#include "core/Edition.h"
#include "gui/ControlTexts.h"

#include <QApplication>
#include <QEventLoop>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QToolTip>
#include <qdrawutil.h>

namespace {

// The system's edge width, and the smallest swatch box it allows.
constexpr int kEdge = 2;
constexpr int kBoxSize = 18;
// The popup keeps this far from the screen's right and bottom edges.
constexpr int kScreenGap = 20;

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

uint32_t CColourPopup::TableColour(int index) {
    const auto& c = ControlTexts::colours[index];
    return (uint32_t(c.r) << 16) | (uint32_t(c.g) << 8) | uint32_t(c.b);
}

int CColourPopup::FindColour(uint32_t colour) {
    for (int i = 0; i < kColourCount; ++i)
        if (TableColour(i) == colour)
            return i;
    return -1;
}

QColor CColourPopup::ToQColor(uint32_t colour) {
    if (colour == kAutomaticColour)
        return QColor();
    return QColor((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF);
}

uint32_t CColourPopup::FromQColor(const QColor& colour) {
    if (!colour.isValid())
        return kAutomaticColour;
    return colour.rgb() & 0x00FFFFFFu;
}

int CColourPopup::NextItem(int item, int key) {
    const int last = kColourCount - 1;
    switch (key) {
    case Qt::Key_Left:
        if (item == kAutomaticItem)
            return kCancelItem;
        if (item == kCancelItem)
            return last;
        if (item <= 0)
            return kAutomaticItem;
        return item - 1;
    case Qt::Key_Right:
        if (item == kCancelItem)
            return kAutomaticItem;
        if (item == kAutomaticItem || item == kNone)
            return 0;
        return item >= last ? kCancelItem : item + 1;
    case Qt::Key_Up:
        if (item == kAutomaticItem)
            return kCancelItem;
        if (item == kCancelItem)
            return last;
        if (item == kNone || item < kColumns)
            return kAutomaticItem;
        return item - kColumns;
    case Qt::Key_Down:
        if (item == kCancelItem)
            return kAutomaticItem;
        if (item == kAutomaticItem)
            return 0;
        if (item == kNone || item / kColumns == kRows - 1)
            return kCancelItem;
        // A column with no swatch in the row below (only with a partial
        // last row) ends at "Cancel" as well.
        return item + kColumns <= last ? item + kColumns : kCancelItem;
    default:
        return item;
    }
}

CColourPopup::CColourPopup(const QPoint& topLeft, uint32_t initialColour, QWidget* owner)
    : QWidget(owner, Qt::Popup | Qt::FramelessWindowHint), m_initialColour(initialColour),
      m_resultColour(initialColour) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setCursor(Qt::ArrowCursor);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    if constexpr (kHandheld) {
        m_font = QFont(QStringLiteral("Tahoma"));
        m_font.setPixelSize(11);
        m_font.setWeight(QFont::Normal);
    } else {
        m_font = QApplication::font("QMessageBox");
    }
    setFont(m_font);

    m_margin = kEdge;
    m_boxSize = qMax(kBoxSize, 2 * m_margin + 7);
    layOut(topLeft);

    if (initialColour == kAutomaticColour)
        m_chosenItem = kAutomaticItem;
    else if (const int index = FindColour(initialColour); index >= 0)
        m_chosenItem = index;
    else
        m_chosenItem = kCancelItem;
    // Keys and Enter start from the item that matches the colour the popup
    // opened with, so Enter at once gives that colour back (or cancels when
    // the colour is not in the table).
    m_hotItem = m_chosenItem;
}

CColourPopup::~CColourPopup() {
    if (m_loop)
        m_loop->exit(m_result ? m_result : kResultCancel);
}

void CColourPopup::layOut(const QPoint& topLeft) {
    const QFontMetrics metrics(m_font);
    const QSize automaticSize = metrics.size(Qt::TextSingleLine, text(ControlTexts::automatic));
    const QSize cancelSize = metrics.size(Qt::TextSingleLine, text(ControlTexts::cancel));
    const int textWidth = qMax(automaticSize.width(), cancelSize.width()) + 2 * m_margin;
    const int textHeight = qMax(automaticSize.height(), cancelSize.height()) + 4 * m_margin + 2;

    int width = kColumns * m_boxSize + 2 * m_margin;
    int height = kRows * m_boxSize + 2 * m_margin;
    if (textWidth > kColumns * m_boxSize)
        width = textWidth + 2 * m_margin;

    // "Automatic" above the grid; the grid moves down by its height.
    m_automaticRect = QRect(QPoint(m_margin, m_margin), QPoint(width - m_margin, textHeight + 2 * m_margin));
    m_automaticRect.setRight(m_automaticRect.right() - 1);
    m_automaticRect.setBottom(m_automaticRect.bottom() - 1);
    height += m_automaticRect.height() + 2 * m_margin;

    // "Cancel" below the grid.
    m_cancelRect = QRect(m_margin, height, width - 2 * m_margin, m_margin + textHeight);
    height += m_cancelRect.height() + 2 * m_margin;

    QRect frame(topLeft, QSize(width, height));
    const QScreen* screen = QGuiApplication::screenAt(topLeft);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->geometry();
        if (frame.x() + frame.width() > area.x() + area.width() - kScreenGap)
            frame.moveLeft(area.x() + area.width() - kScreenGap - frame.width());
        if (frame.left() < area.left())
            frame.moveLeft(area.left());
        if (frame.y() + frame.height() > area.y() + area.height() - kScreenGap)
            frame.moveTop(area.y() + area.height() - kScreenGap - frame.height());
    }
    setFixedSize(frame.size());
    move(frame.topLeft());
}

QRect CColourPopup::swatchRect(int index) const {
    if (index < 0 || index >= kColourCount)
        return QRect();
    const int row = index / kColumns;
    const int column = index % kColumns;
    return QRect(column * m_boxSize + m_margin,
                 row * m_boxSize + m_margin + m_automaticRect.height() + m_margin, m_boxSize, m_boxSize);
}

int CColourPopup::itemAt(const QPoint& point) const {
    // The hit areas are the painted ones, tested in the same order as the
    // buttons over the grid.
    if (m_cancelRect.contains(point))
        return kCancelItem;
    if (m_automaticRect.contains(point))
        return kAutomaticItem;
    const QRect first = swatchRect(0);
    const int x = point.x() - first.left();
    const int y = point.y() - first.top();
    if (x < 0 || y < 0)
        return kNone;
    const int row = y / m_boxSize;
    const int column = x / m_boxSize;
    if (row >= kRows || column >= kColumns)
        return kNone;
    const int index = row * kColumns + column;
    return index < kColourCount ? index : kNone;
}

QString CColourPopup::toolTipAt(const QPoint& point) const {
    const int item = itemAt(point);
    return item >= 0 ? text(ControlTexts::colours[item].name) : QString();
}

int CColourPopup::exec() {
    if (m_result)
        return m_result;
    show();
    raise();
    activateWindow();
    setFocus();
    grabMouse();
    QEventLoop loop;
    m_loop = &loop;
    QPointer<CColourPopup> self(this);
    const int result = loop.exec();
    if (!self)
        return result;
    m_loop = nullptr;
    return m_result ? m_result : result;
}

int CColourPopup::Choose(const QPoint& topLeft, uint32_t initialColour, QWidget* owner, uint32_t& colour) {
    CColourPopup popup(topLeft, initialColour, owner);
    const int result = popup.exec();
    colour = popup.colour();
    return result;
}

void CColourPopup::finish(int result, uint32_t colour) {
    if (m_result)
        return;
    m_result = result;
    m_resultColour = colour;
    if (QWidget::mouseGrabber() == this)
        releaseMouse();
    hide();
    if (m_loop)
        m_loop->exit(result);
}

void CColourPopup::endAsReleaseInside() {
    if (m_hotItem == kCancelItem)
        finish(kResultCancel, m_initialColour);
    else if (m_hotItem == kAutomaticItem)
        finish(kResultOk, kAutomaticColour);
    else
        finish(kResultOk, m_resultColour);
}

void CColourPopup::setHot(int item) {
    if (item == m_hotItem)
        return;
    const int old = m_hotItem;
    m_hotItem = item;
    if (item == kCancelItem)
        m_resultColour = m_initialColour;
    else if (item == kAutomaticItem)
        m_resultColour = kAutomaticColour;
    else if (item >= 0)
        m_resultColour = TableColour(item);
    for (int changed : {old, item}) {
        if (changed >= 0)
            update(swatchRect(changed));
        else if (changed == kAutomaticItem)
            update(m_automaticRect);
        else if (changed == kCancelItem)
            update(m_cancelRect);
    }
}

void CColourPopup::mouseMoveEvent(QMouseEvent* event) {
    const int item = itemAt(event->position().toPoint());
    if (item != kNone)
        setHot(item);
}

void CColourPopup::mousePressEvent(QMouseEvent* event) {
    // A press outside a popup is where the user leaves it.
    if (!rect().contains(event->position().toPoint()))
        finish(kResultCancel, m_initialColour);
}

void CColourPopup::mouseReleaseEvent(QMouseEvent* event) {
    if (!rect().contains(event->position().toPoint())) {
        finish(kResultCancel, m_initialColour);
        return;
    }
    endAsReleaseInside();
}

void CColourPopup::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        endAsReleaseInside();
        return;
    case Qt::Key_Escape:
        finish(kResultCancel, m_initialColour);
        return;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        setHot(NextItem(m_hotItem, event->key()));
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void CColourPopup::closeEvent(QCloseEvent* event) {
    // Closed by the system (e.g. another window took over): a cancel.
    finish(kResultCancel, m_initialColour);
    QWidget::closeEvent(event);
}

bool CColourPopup::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = toolTipAt(help->pos());
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, this, swatchRect(itemAt(help->pos())));
        return true;
    }
    return QWidget::event(event);
}

void CColourPopup::drawSwatch(QPainter& painter, int index) {
    const QRect cell = swatchRect(index);
    const bool hot = index == m_hotItem;
    const bool chosen = index == m_chosenItem;
    painter.fillRect(cell, palette().color(chosen && !hot ? QPalette::Light : QPalette::Button));
    if (hot)
        qDrawShadePanel(&painter, cell, palette(), false, 1);
    else if (chosen)
        qDrawShadePanel(&painter, cell, palette(), true, 1);
    const QRect inner = cell.adjusted(m_margin + 1, m_margin + 1, -(m_margin + 1), -(m_margin + 1));
    painter.setPen(palette().color(QPalette::Dark));
    painter.setBrush(ToQColor(TableColour(index)));
    painter.drawRect(inner.adjusted(0, 0, -1, -1));
}

void CColourPopup::drawTextButton(QPainter& painter, int item) {
    QRect area = item == kAutomaticItem ? m_automaticRect : m_cancelRect;
    const bool hot = item == m_hotItem;
    const bool chosen = item == m_chosenItem;
    painter.fillRect(area, palette().color(QPalette::Button));
    if (item == kCancelItem) {
        // Two-line separator at the top, then the button below it.
        const int left = area.left() + 2 * m_margin;
        const int right = area.right() - 2 * m_margin;
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawLine(left, area.top(), right, area.top());
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(left, area.top() + 1, right, area.top() + 1);
        area.setTop(area.top() + 2);
    }
    painter.fillRect(area.adjusted(1, 1, -1, -1),
                     palette().color(chosen && !hot ? QPalette::Midlight : QPalette::Button));
    painter.setPen(palette().color(QPalette::Dark));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area.adjusted(2 * m_margin, 2 * m_margin, -2 * m_margin - 1, -2 * m_margin - 1));
    if (hot)
        qDrawShadePanel(&painter, area, palette(), false, 1);
    else if (chosen)
        qDrawShadePanel(&painter, area, palette(), true, 1);
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine,
                     text(item == kAutomaticItem ? ControlTexts::automatic : ControlTexts::cancel));
}

void CColourPopup::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(m_font);
    drawTextButton(painter, kAutomaticItem);
    for (int i = 0; i < kColourCount; ++i)
        drawSwatch(painter, i);
    drawTextButton(painter, kCancelItem);
    qDrawShadePanel(&painter, rect(), palette(), false, 1);
}
