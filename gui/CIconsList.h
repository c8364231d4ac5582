#pragma once
// A grid of 38 x 38 cells showing every image of an image list (32 x 32 icons
// with 3 pixels around), from which the user picks one with a click. The
// note property sheet uses it to choose a node's icon; the owner reads the
// selection when it needs it (no notification is sent).

#include <QAbstractScrollArea>

struct ImageList;

class CIconsList : public QAbstractScrollArea {
    Q_OBJECT

public:
    static constexpr int kCellSize = 38;
    static constexpr int kIconOffset = 3;

    explicit CIconsList(QWidget* parent = nullptr);

    // The list is not owned; it must outlive the control.
    void SetImageList(const ImageList* images);
    const ImageList* imageList() const { return m_images; }

    int GetSelection() const { return m_selection; }
    // Does not redraw or scroll; the next paint shows it.
    void SetSelection(int index) { m_selection = index; }

    int topRow() const { return m_topRow; }
    int columns() const { return m_columns; }
    int visibleRows() const { return m_visibleRows; }
    int totalRows() const { return m_totalRows; }
    int imageCount() const { return m_imageCount; }
    // The highest top row scrolling allows.
    int maxTopRow() const;

    // Cell rectangle of visible row/column in viewport coordinates, and the
    // image index a viewport point falls on (-1 for none).
    QRect cellRect(int row, int column) const;
    int indexAt(const QPoint& viewportPoint) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void layOut();
    void drawCell(QPainter& painter, int row, int column);
    void redrawIndex(int index);

    const ImageList* m_images = nullptr;
    int m_selection = -1;
    QRect m_lastRect;
    int m_topRow = 0;
    int m_columns = 0;
    int m_visibleRows = 0;
    int m_totalRows = 0;
    int m_imageCount = 0;
};
