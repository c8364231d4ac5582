#pragma once
// A borderless popup with 40 named colour swatches, an "Automatic" button above
// them and a "Cancel" button below. The note editor opens it at the mouse to
// choose a text colour. It runs its own modal loop and tells its owner nothing
// while open; exec() returns 1 (OK) with a table colour or the automatic value,
// or 2 (cancel) with the initial colour.
//
// Colours are plain 0x00RRGGBB values; the automatic (default) colour is
// 0xFF000000, which no table entry has.

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QWidget>
#include <cstdint>

class QEventLoop;

class CColourPopup : public QWidget {
    Q_OBJECT

public:
    static constexpr uint32_t kAutomaticColour = 0xFF000000u;
    static constexpr int kColourCount = 40;
    static constexpr int kColumns = 8;
    static constexpr int kRows = (kColourCount + kColumns - 1) / kColumns;

    // Items: swatches 0 ... 39 and these.
    static constexpr int kNone = -1;
    static constexpr int kCancelItem = -2;
    static constexpr int kAutomaticItem = -3;

    static constexpr int kResultOk = 1;
    static constexpr int kResultCancel = 2;

    // Lays the popup out with its top-left corner at `topLeft` (screen
    // coordinates, moved to stay on the screen). Not shown yet.
    CColourPopup(const QPoint& topLeft, uint32_t initialColour, QWidget* owner);
    ~CColourPopup() override;

    // Shows the popup and waits until the user ends it; returns 1 or 2.
    int exec();
    // One call for the owner: opens, waits, returns 1 or 2 and the colour.
    static int Choose(const QPoint& topLeft, uint32_t initialColour, QWidget* owner, uint32_t& colour);

    uint32_t colour() const { return m_resultColour; }
    uint32_t initialColour() const { return m_initialColour; }
    int result() const { return m_result; } // 0 while open
    int hotItem() const { return m_hotItem; }
    int chosenItem() const { return m_chosenItem; }

    QRect swatchRect(int index) const;
    QRect automaticRect() const { return m_automaticRect; }
    QRect cancelRect() const { return m_cancelRect; }
    int boxSize() const { return m_boxSize; }
    int margin() const { return m_margin; }
    // The item under a point of the popup, or kNone.
    int itemAt(const QPoint& point) const;
    // The swatch's name for its tool tip; empty off the swatches.
    QString toolTipAt(const QPoint& point) const;

    static uint32_t TableColour(int index);
    // The table entry with exactly that colour, or -1.
    static int FindColour(uint32_t colour);
    // An invalid QColor for the automatic value.
    static QColor ToQColor(uint32_t colour);
    static uint32_t FromQColor(const QColor& colour);

    // The next item for an arrow key (Qt::Key_Left/Right/Up/Down) from `item`.
    static int NextItem(int item, int key);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void layOut(const QPoint& topLeft);
    void setHot(int item);
    void finish(int result, uint32_t colour);
    void endAsReleaseInside();
    void drawSwatch(QPainter& painter, int index);
    void drawTextButton(QPainter& painter, int item);

    uint32_t m_initialColour;
    uint32_t m_resultColour;
    int m_hotItem = kNone;
    int m_chosenItem = kNone;
    int m_boxSize = 18;
    int m_margin = 2;
    QRect m_automaticRect;
    QRect m_cancelRect;
    QFont m_font;
    int m_result = 0;
    QEventLoop* m_loop = nullptr;
};
