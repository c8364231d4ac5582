// The icon grid: layout and scroll range, selection by click, painting of
// the selected cell.
#include "gui/CIconsList.h"
#include "gui/IconLists.h"

#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QColor kIconColour(0, 160, 0);
const QColor kFrameColour(198, 0, 0);

ImageList solidList(int count) {
    ImageList list;
    list.imageSize = QSize(32, 32);
    for (int i = 0; i < count; ++i) {
        QPixmap pixmap(32, 32);
        pixmap.fill(kIconColour);
        list.images.push_back(pixmap);
    }
    return list;
}

// A grid whose client area (with the scroll bar, if it shows one) is
// `columns` x `rows` cells.
struct Grid {
    Grid(int count, int columns, int rows) : images(solidList(count)) {
        const int frame = 2 * grid.frameWidth();
        grid.resize(columns * CIconsList::kCellSize + frame + grid.verticalScrollBar()->sizeHint().width(),
                    rows * CIconsList::kCellSize + frame);
        grid.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&grid));
        grid.SetImageList(&images);
        // Without a scroll bar the client area is that much wider; give it back.
        if (grid.verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOn)
            grid.resize(columns * CIconsList::kCellSize + frame, grid.height());
        QCoreApplication::processEvents();
    }
    QImage picture() { return grid.viewport()->grab().toImage(); }
    void click(int row, int column) {
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.cellRect(row, column).center());
    }
    ImageList images;
    CIconsList grid;
};

bool hasFrameAt(const QImage& image, const QRect& cell) {
    return QColor(image.pixel(cell.topLeft())) == kFrameColour &&
           QColor(image.pixel(cell.bottomRight())) == kFrameColour;
}

} // namespace

TEST(IconsList, EightyIconsInFiveByThreeScrollOverRowsZeroToFourteen) {
    Grid g(80, 5, 3);
    EXPECT_EQ(g.grid.columns(), 5);
    EXPECT_EQ(g.grid.visibleRows(), 3);
    EXPECT_EQ(g.grid.totalRows(), 16);
    EXPECT_TRUE(g.grid.verticalScrollBar()->isVisible());
    EXPECT_EQ(g.grid.verticalScrollBar()->minimum(), 0);
    EXPECT_EQ(g.grid.verticalScrollBar()->maximum(), 14);
    EXPECT_EQ(g.grid.topRow(), 0);
}

TEST(IconsList, SixteenIconsInFiveByFourNeedNoScrollBar) {
    Grid g(16, 5, 4);
    EXPECT_EQ(g.grid.columns(), 5);
    EXPECT_EQ(g.grid.visibleRows(), 4);
    EXPECT_FALSE(g.grid.verticalScrollBar()->isVisible());
}

TEST(IconsList, ScrollingMovesAndClampsTheTopRow) {
    Grid g(80, 5, 3);
    QScrollBar* bar = g.grid.verticalScrollBar();
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(g.grid.topRow(), 1);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(g.grid.topRow(), 4);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(g.grid.topRow(), 14);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(g.grid.topRow(), 14);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(g.grid.topRow(), 11);
}

TEST(IconsList, ClickSelectsTheImageUnderItAlsoWhenScrolled) {
    Grid g(80, 5, 3);
    g.click(1, 2);
    EXPECT_EQ(g.grid.GetSelection(), 7);
    g.grid.verticalScrollBar()->setValue(2);
    g.click(0, 0);
    EXPECT_EQ(g.grid.GetSelection(), 10);
    // The partly visible row below the whole ones can be clicked too.
    g.grid.verticalScrollBar()->setValue(14);
    g.click(1, 4);
    EXPECT_EQ(g.grid.GetSelection(), 79);
}

TEST(IconsList, ClickOnAnEmptyCellKeepsTheSelection) {
    Grid g(16, 5, 4);
    g.click(0, 3);
    ASSERT_EQ(g.grid.GetSelection(), 3);
    g.click(3, 1); // index 16: past the last image
    EXPECT_EQ(g.grid.GetSelection(), 3);
    g.click(3, 0); // index 15, the last one
    EXPECT_EQ(g.grid.GetSelection(), 15);
}

TEST(IconsList, SelectedCellIsFramedAndTheIconDrawnInside) {
    Grid g(16, 5, 4);
    g.click(1, 1);
    const QImage image = g.picture();
    const QRect selected = g.grid.cellRect(1, 1);
    EXPECT_TRUE(hasFrameAt(image, selected));
    EXPECT_FALSE(hasFrameAt(image, g.grid.cellRect(0, 0)));
    // Icons sit 3 pixels into their cells.
    const QRect plain = g.grid.cellRect(0, 0);
    EXPECT_EQ(QColor(image.pixel(plain.topLeft() + QPoint(3, 3))), kIconColour);
    EXPECT_NE(QColor(image.pixel(plain.topLeft() + QPoint(2, 2))), kIconColour);
    EXPECT_EQ(QColor(image.pixel(selected.topLeft() + QPoint(3, 3))), kIconColour);
    // No frame on an empty cell.
    EXPECT_NE(QColor(image.pixel(g.grid.cellRect(3, 2).center())), kIconColour);
}

TEST(IconsList, SelectionBelowTheViewShowsOnlyOnceScrolledThere) {
    Grid g(80, 5, 3);
    g.grid.SetSelection(42); // row 8
    const QImage before = g.picture();
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 5; ++column)
            EXPECT_FALSE(hasFrameAt(before, g.grid.cellRect(row, column)));
    EXPECT_EQ(g.grid.topRow(), 0); // setting it did not scroll
    g.grid.verticalScrollBar()->setValue(8);
    EXPECT_TRUE(hasFrameAt(g.picture(), g.grid.cellRect(0, 2)));
}

TEST(IconsList, NarrowGridShowsOneColumnWithoutDividingByZero) {
    ImageList images = solidList(10);
    CIconsList grid;
    grid.resize(20, 200);
    grid.show();
    grid.SetImageList(&images);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid.columns(), 1);
    EXPECT_GT(grid.totalRows(), 0);
    EXPECT_FALSE(grid.viewport()->grab().isNull());
    grid.resize(1, 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid.columns(), 1);
    EXPECT_GE(grid.maxTopRow(), 0);
    grid.grab();
}

TEST(IconsList, GrowingAfterAScrollBarKeepsItAndResetsTheTopRow) {
    Grid g(80, 5, 3);
    g.grid.verticalScrollBar()->setValue(5);
    g.grid.resize(g.grid.width(), 20 * CIconsList::kCellSize);
    QCoreApplication::processEvents();
    EXPECT_EQ(g.grid.topRow(), 0);
    EXPECT_TRUE(g.grid.verticalScrollBar()->isVisible());
    EXPECT_EQ(g.grid.maxTopRow(), 0);
    g.click(15, 4);
    EXPECT_EQ(g.grid.GetSelection(), 79);
}

TEST(IconsList, ListSetBeforeShowingIsLaidOutForTheShownSize) {
    ImageList images = solidList(16);
    QWidget page;
    CIconsList* grid = new CIconsList(&page);
    grid->SetImageList(&images); // still hidden, at a provisional size
    grid->setGeometry(0, 0, 5 * CIconsList::kCellSize + 2 * grid->frameWidth(),
                      4 * CIconsList::kCellSize + 2 * grid->frameWidth());
    page.resize(400, 300);
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    EXPECT_EQ(grid->columns(), 5);
    EXPECT_EQ(grid->visibleRows(), 4);
    EXPECT_FALSE(grid->verticalScrollBar()->isVisible());
}

TEST(IconsList, NothingHappensWithoutAList) {
    CIconsList grid;
    grid.resize(200, 200);
    grid.show();
    QCoreApplication::processEvents();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(grid.GetSelection(), -1);
    EXPECT_EQ(grid.indexAt(QPoint(10, 10)), -1);
}
