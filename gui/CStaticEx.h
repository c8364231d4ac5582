#pragma once
// A label that shows one icon at its top-left corner at the icon's own size,
// over the background colour. The note property sheet shows the node's icon
// with it beside the title.

#include <QPixmap>
#include <QWidget>

class CStaticEx : public QWidget {
    Q_OBJECT

public:
    explicit CStaticEx(QWidget* parent = nullptr);

    // Stores the icon; the caller then calls update() so that it repaints.
    void SetIcon(const QPixmap& icon) { m_icon = icon; }
    QPixmap GetIcon() const { return m_icon; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_icon;
};
