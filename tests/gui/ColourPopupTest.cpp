// The colour popup driven through real mouse and key events.
#include "gui/CColourPopup.h"
#include "gui/ControlTexts.h"

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kOrange = 0xFF6820;
constexpr uint32_t kNotInTable = 0x123456;

struct OpenPopup {
    explicit OpenPopup(uint32_t colour, QPoint at = QPoint(100, 100)) : popup(at, colour, nullptr) {
        popup.show();
    }
    CColourPopup popup;
};

QPoint centre(const QRect& r) {
    return r.center();
}

} // namespace

TEST(ColourPopup, TableHoldsFortyNamedColoursInGridOrder) {
    EXPECT_EQ(CColourPopup::TableColour(0), 0x000000u);
    EXPECT_EQ(CColourPopup::TableColour(9), kOrange);
    EXPECT_EQ(CColourPopup::TableColour(16), kRed);
    EXPECT_EQ(CColourPopup::TableColour(39), 0xFFFFFFu);
    EXPECT_STREQ(ControlTexts::colours[35].name, "Pale green ");
    // Every entry distinct and none equal to the automatic value, so a colour
    // finds exactly one swatch.
    for (int i = 0; i < CColourPopup::kColourCount; ++i) {
        EXPECT_EQ(CColourPopup::FindColour(CColourPopup::TableColour(i)), i);
        EXPECT_NE(CColourPopup::TableColour(i), CColourPopup::kAutomaticColour);
    }
    EXPECT_EQ(CColourPopup::FindColour(CColourPopup::kAutomaticColour), -1);
}

TEST(ColourPopup, QColorConversionKeepsAutomaticApart) {
    EXPECT_FALSE(CColourPopup::ToQColor(CColourPopup::kAutomaticColour).isValid());
    EXPECT_EQ(CColourPopup::ToQColor(kOrange), QColor(255, 104, 32));
    EXPECT_EQ(CColourPopup::FromQColor(QColor(255, 104, 32)), kOrange);
    EXPECT_EQ(CColourPopup::FromQColor(QColor()), CColourPopup::kAutomaticColour);
    // Opaque black is a colour, not "automatic".
    EXPECT_EQ(CColourPopup::FromQColor(QColor(0, 0, 0)), 0u);
}

TEST(ColourPopup, ArrowKeyRules) {
    using P = CColourPopup;
    const int A = P::kAutomaticItem, C = P::kCancelItem, N = P::kNone;
    struct Case {
        int from, key, to;
    } cases[] = {{9, Qt::Key_Left, 8},   {8, Qt::Key_Left, 7},  {0, Qt::Key_Left, A},  {N, Qt::Key_Left, A},
                 {A, Qt::Key_Left, C},   {C, Qt::Key_Left, 39}, {6, Qt::Key_Right, 7}, {7, Qt::Key_Right, 8},
                 {39, Qt::Key_Right, C}, {C, Qt::Key_Right, A}, {A, Qt::Key_Right, 0}, {10, Qt::Key_Up, 2},
                 {3, Qt::Key_Up, A},     {N, Qt::Key_Up, A},    {A, Qt::Key_Up, C},    {C, Qt::Key_Up, 39},
                 {5, Qt::Key_Down, 13},  {36, Qt::Key_Down, C}, {32, Qt::Key_Down, C}, {N, Qt::Key_Down, C},
                 {C, Qt::Key_Down, A},   {A, Qt::Key_Down, 0},  {31, Qt::Key_Down, 39}};
    for (const Case& c : cases)
        EXPECT_EQ(P::NextItem(c.from, c.key), c.to) << "from " << c.from << " key " << c.key;
}

TEST(ColourPopup, ChosenItemFollowsTheInitialColour) {
    EXPECT_EQ(CColourPopup(QPoint(10, 10), kRed, nullptr).chosenItem(), 16);
    EXPECT_EQ(CColourPopup(QPoint(10, 10), CColourPopup::kAutomaticColour, nullptr).chosenItem(),
              CColourPopup::kAutomaticItem);
    EXPECT_EQ(CColourPopup(QPoint(10, 10), kNotInTable, nullptr).chosenItem(), CColourPopup::kCancelItem);
}

TEST(ColourPopup, ColourNotInTableThenEnterCancelsWithInitialColour) {
    OpenPopup p(kNotInTable);
    QTest::keyClick(&p.popup, Qt::Key_Return);
    EXPECT_EQ(p.popup.result(), CColourPopup::kResultCancel);
    EXPECT_EQ(p.popup.colour(), kNotInTable);
    EXPECT_FALSE(p.popup.isVisible());
}

TEST(ColourPopup, TableColourThenEnterGivesItBack) {
    OpenPopup p(kRed);
    QTest::keyClick(&p.popup, Qt::Key_Space);
    EXPECT_EQ(p.popup.result(), CColourPopup::kResultOk);
    EXPECT_EQ(p.popup.colour(), kRed);
}

TEST(ColourPopup, KeysMoveAndEnterChooses) {
    OpenPopup p(0x000000); // Black, swatch 0
    QTest::keyClick(&p.popup, Qt::Key_Right);
    QTest::keyClick(&p.popup, Qt::Key_Down);
    EXPECT_EQ(p.popup.hotItem(), 9);
    EXPECT_EQ(p.popup.colour(), kOrange);
    QTest::keyClick(&p.popup, Qt::Key_Enter);
    EXPECT_EQ(p.popup.result(), CColourPopup::kResultOk);
    EXPECT_EQ(p.popup.colour(), kOrange);
}

TEST(ColourPopup, KeysThroughTheButtonsSetTheirValues) {
    OpenPopup p(kRed);
    QTest::keyClick(&p.popup, Qt::Key_Up);
    QTest::keyClick(&p.popup, Qt::Key_Up);
    QTest::keyClick(&p.popup, Qt::Key_Up); // 16 -> 8 -> 0 -> Automatic
    EXPECT_EQ(p.popup.hotItem(), CColourPopup::kAutomaticItem);
    EXPECT_EQ(p.popup.colour(), CColourPopup::kAutomaticColour);
    QTest::keyClick(&p.popup, Qt::Key_Up); // -> Cancel
    EXPECT_EQ(p.popup.colour(), kRed);
    QTest::keyClick(&p.popup, Qt::Key_Return);
    EXPECT_EQ(p.popup.result(), CColourPopup::kResultCancel);
    EXPECT_EQ(p.popup.colour(), kRed);
}

TEST(ColourPopup, EscapeCancelsAfterMoving) {
    OpenPopup p(kRed);
    QTest::keyClick(&p.popup, Qt::Key_Right);
    EXPECT_NE(p.popup.colour(), kRed);
    QTest::keyClick(&p.popup, Qt::Key_Escape);
    EXPECT_EQ(p.popup.result(), CColourPopup::kResultCancel);
    EXPECT_EQ(p.popup.colour(), kRed);
}

TEST(ColourPopup, AutomaticValueMarksAutomaticAndClickingItReturnsIt) {
    OpenPopup p(CColourPopup::kAutomaticColour);
    EXPECT_EQ(p.popup.chosenItem(), CColourPopup::kAutomaticItem);
    const QPoint at = centre(p.popup.automaticRect());
    QTest::mouseMove(&p.popup, at);
    QTest::mouseClick(&p.popup, Qt::LeftButton, {}, at);
    EXPECT_EQ(p.popup.result(), CColourPopup::kResultOk);
    EXPECT_EQ(p.popup.colour(), CColourPopup::kAutomaticColour);
}

TEST(ColourPopup, PointingAtASwatchAndReleasingChoosesIt) {
    OpenPopup p(CColourPopup::kAutomaticColour);
    const QPoint at = centre(p.popup.swatchRect(25)); // Gold
    QTest::mouseMove(&p.popup, at);
    EXPECT_EQ(p.popup.hotItem(), 25);
    QTest::mouseRelease(&p.popup, Qt::LeftButton, {}, at);
    EXPECT_EQ(p.popup.result(), CColourPopup::kResultOk);
    EXPECT_EQ(p.popup.colour(), CColourPopup::TableColour(25));
}

TEST(ColourPopup, ReleaseOnCancelGivesInitialColour) {
    OpenPopup p(kRed);
    QTest::mouseMove(&p.popup, centre(p.popup.swatchRect(3)));
    QTest::mouseMove(&p.popup, centre(p.popup.cancelRect()));
    EXPECT_EQ(p.popup.hotItem(), CColourPopup::kCancelItem);
    QTest::mouseRelease(&p.popup, Qt::LeftButton, {}, centre(p.popup.cancelRect()));
    EXPECT_EQ(p.popup.result(), CColourPopup::kResultCancel);
    EXPECT_EQ(p.popup.colour(), kRed);
}

TEST(ColourPopup, ClickOutsideCancels) {
    OpenPopup p(kRed);
    QTest::mouseMove(&p.popup, centre(p.popup.swatchRect(3)));
    const QPoint outside(p.popup.width() + 30, p.popup.height() + 30);
    QTest::mouseClick(&p.popup, Qt::LeftButton, {}, outside);
    EXPECT_EQ(p.popup.result(), CColourPopup::kResultCancel);
    EXPECT_EQ(p.popup.colour(), kRed);
}

TEST(ColourPopup, EveryPaintedSwatchIsHitWhereItIsDrawnWithItsName) {
    OpenPopup p(kRed);
    const QRect automatic = p.popup.automaticRect();
    const QRect cancel = p.popup.cancelRect();
    for (int i = 0; i < CColourPopup::kColourCount; ++i) {
        const QRect swatch = p.popup.swatchRect(i);
        EXPECT_TRUE(p.popup.rect().contains(swatch)) << i;
        EXPECT_FALSE(swatch.intersects(automatic)) << i;
        EXPECT_FALSE(swatch.intersects(cancel)) << i;
        EXPECT_EQ(p.popup.itemAt(swatch.topLeft()), i);
        EXPECT_EQ(p.popup.itemAt(swatch.bottomRight()), i);
        EXPECT_EQ(p.popup.toolTipAt(swatch.center()), QString::fromUtf8(ControlTexts::colours[i].name));
    }
    EXPECT_TRUE(p.popup.toolTipAt(automatic.center()).isEmpty());
    EXPECT_EQ(p.popup.itemAt(QPoint(0, 0)), CColourPopup::kNone);
    EXPECT_LT(automatic.bottom(), p.popup.swatchRect(0).top());
    EXPECT_GT(cancel.top(), p.popup.swatchRect(39).bottom());
    EXPECT_TRUE(p.popup.rect().contains(cancel));
}

TEST(ColourPopup, PaintsTheSwatchColours) {
    OpenPopup p(kRed);
    const QImage image = p.popup.grab().toImage();
    const QRect swatch = p.popup.swatchRect(13); // Blue
    EXPECT_EQ(QColor(image.pixel(swatch.center())), QColor(0, 0, 255));
}

TEST(ColourPopup, StaysOnScreenNearTheCorner) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    CColourPopup corner(screen.bottomRight(), kRed, nullptr);
    const QRect frame = corner.geometry();
    EXPECT_EQ(frame.x() + frame.width(), screen.x() + screen.width() - 20);
    EXPECT_EQ(frame.y() + frame.height(), screen.y() + screen.height() - 20);

    CColourPopup left(QPoint(screen.left() - 50, screen.top() + 10), kRed, nullptr);
    EXPECT_EQ(left.geometry().left(), screen.left());
    EXPECT_EQ(left.geometry().top(), screen.top() + 10);
}

TEST(ColourPopup, ExecWaitsForTheUser) {
    uint32_t colour = 0;
    QTimer::singleShot(0, [] {
        CColourPopup* popup = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* p = dynamic_cast<CColourPopup*>(w); p && p->isVisible())
                popup = p;
        ASSERT_NE(popup, nullptr);
        QTest::keyClick(popup, Qt::Key_Left);
        QTest::keyClick(popup, Qt::Key_Return);
    });
    const int result = CColourPopup::Choose(QPoint(50, 50), kRed, nullptr, colour);
    EXPECT_EQ(result, CColourPopup::kResultOk);
    EXPECT_EQ(colour, CColourPopup::TableColour(15));
}
