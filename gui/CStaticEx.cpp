#include "gui/CStaticEx.h"

#include <QPainter>

CStaticEx::CStaticEx(QWidget* parent) : QWidget(parent) {
    // Painting covers the whole client area itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize CStaticEx::sizeHint() const {
    if (m_icon.isNull())
        return QSize(32, 32);
    return m_icon.deviceIndependentSize().toSize();
}

void CStaticEx::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(backgroundRole()));
    if (!m_icon.isNull())
        painter.drawPixmap(0, 0, m_icon);
}
