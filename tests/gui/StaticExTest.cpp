// The icon label paints its icon at the top-left corner over the background.
#include "gui/CStaticEx.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

QPixmap solid(int size, const QColor& colour) {
    QPixmap pixmap(size, size);
    pixmap.fill(colour);
    return pixmap;
}

} // namespace

TEST(StaticEx, WithoutIconOnlyTheBackgroundIsPainted) {
    CStaticEx label;
    label.resize(40, 40);
    const QColor background = label.palette().color(label.backgroundRole());
    const QImage image = label.grab().toImage();
    EXPECT_EQ(QColor(image.pixel(0, 0)), background);
    EXPECT_EQ(QColor(image.pixel(39, 39)), background);
}

TEST(StaticEx, NewIconShowsAfterTheNextRepaintAtItsOwnSize) {
    CStaticEx label;
    label.resize(40, 40);
    label.SetIcon(solid(16, Qt::red));
    QImage image = label.grab().toImage();
    EXPECT_EQ(QColor(image.pixel(0, 0)), QColor(Qt::red));
    EXPECT_EQ(QColor(image.pixel(15, 15)), QColor(Qt::red));
    EXPECT_NE(QColor(image.pixel(16, 16)), QColor(Qt::red)); // not stretched to the label

    label.SetIcon(solid(32, Qt::blue));
    label.update();
    image = label.grab().toImage();
    EXPECT_EQ(QColor(image.pixel(31, 31)), QColor(Qt::blue));
    EXPECT_EQ(label.sizeHint(), QSize(32, 32));
}

TEST(StaticEx, ClearingTheIconLeavesBackground) {
    CStaticEx label;
    label.resize(20, 20);
    label.SetIcon(solid(16, Qt::red));
    label.SetIcon(QPixmap());
    EXPECT_NE(QColor(label.grab().toImage().pixel(0, 0)), QColor(Qt::red));
}
