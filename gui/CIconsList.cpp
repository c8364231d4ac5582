#include "gui/CIconsList.h"

#include "gui/IconLists.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace {
const QColor kSelectionFrame(198, 0, 0);
} // namespace

CIconsList::CIconsList(QWidget* parent) : QAbstractScrollArea(parent) {
    setFrameShape(QFrame::StyledPanel);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Painting covers every pixel, so the viewport need not be erased first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    verticalScrollBar()->setSingleStep(1);
}

void CIconsList::SetImageList(const ImageList* images) {
    m_images = images;
    m_lastRect = QRect(); // a new list is always laid out
    layOut();
    viewport()->update();
}

int CIconsList::maxTopRow() const {
    return qMax(0, m_totalRows - m_visibleRows + 1);
}

void CIconsList::layOut() {
    // A hidden control has no final size yet (layouts size it when it is
    // shown); laying out for a provisional size could turn the scroll bar on
    // for good.
    const QRect client = viewport()->rect();
    if (!m_images || !isVisible() || client == m_lastRect)
        return;
    m_lastRect = client;
    m_topRow = 0;
    m_imageCount = m_images->count();
    m_visibleRows = client.height() / kCellSize;
    // A grid narrower than one cell still gets one (clipped) column, so no
    // division by zero and every image stays reachable.
    m_columns = qMax(1, client.width() / kCellSize);
    m_totalRows = m_imageCount / m_columns;

    QScrollBar* bar = verticalScrollBar();
    const QSignalBlocker block(bar);
    if (m_columns * m_visibleRows < m_imageCount) {
        bar->setRange(0, maxTopRow());
        bar->setPageStep(qMax(1, m_visibleRows));
        bar->setValue(0);
        // Once shown the bar stays; showing it narrows the viewport, which
        // lays the grid out again for the narrower area.
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    } else if (verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn) {
        bar->setRange(0, maxTopRow());
        bar->setPageStep(qMax(1, m_visibleRows));
        bar->setValue(0);
    }
}

void CIconsList::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    layOut();
}

void CIconsList::showEvent(QShowEvent* event) {
    QAbstractScrollArea::showEvent(event);
    layOut();
}

void CIconsList::scrollContentsBy(int, int) {
    const int row = qBound(0, verticalScrollBar()->value(), maxTopRow());
    if (row == m_topRow)
        return;
    m_topRow = row;
    viewport()->update();
}

QRect CIconsList::cellRect(int row, int column) const {
    return QRect(column * kCellSize, row * kCellSize, kCellSize, kCellSize);
}

int CIconsList::indexAt(const QPoint& point) const {
    if (!m_images || m_columns <= 0)
        return -1;
    for (int row = 0; row <= m_visibleRows; ++row) {
        for (int column = 0; column < m_columns; ++column) {
            if (!cellRect(row, column).contains(point))
                continue;
            const int index = (m_topRow + row) * m_columns + column;
            return index < m_imageCount ? index : -1;
        }
    }
    return -1;
}

void CIconsList::drawCell(QPainter& painter, int row, int column) {
    const int index = (m_topRow + row) * m_columns + column;
    if (index >= m_imageCount)
        return;
    const QRect cell = cellRect(row, column);
    if (index == m_selection) {
        painter.fillRect(cell, palette().color(QPalette::Highlight));
        painter.setPen(kSelectionFrame);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
    } else {
        painter.fillRect(cell, palette().color(QPalette::Base));
    }
    const QPixmap image = m_images->image(index);
    if (!image.isNull())
        painter.drawPixmap(cell.topLeft() + QPoint(kIconOffset, kIconOffset), image);
}

void CIconsList::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().color(QPalette::Base));
    if (!m_images)
        return;
    // One partly visible row more than the whole ones.
    for (int row = 0; row <= m_visibleRows; ++row)
        for (int column = 0; column < m_columns; ++column)
            drawCell(painter, row, column);
}

void CIconsList::redrawIndex(int index) {
    if (index < 0 || m_columns <= 0)
        return;
    const int row = index / m_columns - m_topRow;
    if (row < 0 || row > m_visibleRows)
        return;
    viewport()->update(cellRect(row, index % m_columns));
}

void CIconsList::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    // Mouse events of the viewport arrive here in viewport coordinates.
    const int index = indexAt(event->position().toPoint());
    if (index < 0)
        return;
    const int old = m_selection;
    m_selection = index;
    redrawIndex(old);
    redrawIndex(index);
}
