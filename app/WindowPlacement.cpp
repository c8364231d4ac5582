#include "app/WindowPlacement.h"

#include <QtEndian>

namespace {

void put(QByteArray& out, int32_t value) {
    char bytes[4];
    qToLittleEndian<qint32>(value, bytes);
    out.append(bytes, 4);
}

int32_t get(const QByteArray& in, int index) {
    return qFromLittleEndian<qint32>(in.constData() + 4 * index);
}

} // namespace

QByteArray WindowPlacement::encode() const {
    QByteArray out;
    put(out, kSize);
    put(out, flags);
    put(out, showState);
    put(out, minX);
    put(out, minY);
    put(out, maxX);
    put(out, maxY);
    put(out, normal.left());
    put(out, normal.top());
    put(out, normal.left() + normal.width());
    put(out, normal.top() + normal.height());
    return out;
}

std::optional<WindowPlacement> WindowPlacement::decode(const QByteArray& bytes) {
    if (bytes.size() != kSize || get(bytes, 0) != kSize)
        return std::nullopt;
    WindowPlacement p;
    p.flags = get(bytes, 1);
    p.showState = get(bytes, 2);
    p.minX = get(bytes, 3);
    p.minY = get(bytes, 4);
    p.maxX = get(bytes, 5);
    p.maxY = get(bytes, 6);
    const int64_t left = get(bytes, 7), top = get(bytes, 8), right = get(bytes, 9), bottom = get(bytes, 10);
    if (right <= left || bottom <= top)
        return std::nullopt;
    p.normal = QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                     static_cast<int>(bottom - top));
    return p;
}

QByteArray EncodePreviewShown(bool shown) {
    QByteArray out;
    put(out, shown ? 1 : 0);
    return out;
}

std::optional<bool> DecodePreviewShown(const QByteArray& bytes) {
    if (bytes.size() != 4)
        return std::nullopt;
    return get(bytes, 0) != 0;
}

namespace {
enum DockEdge : int32_t { kLeftEdge = 1, kRightEdge = 2 };
} // namespace

QByteArray EncodePreviewDock(const PreviewDockPlace& place) {
    QByteArray out;
    put(out, place.left ? kLeftEdge : kRightEdge);
    put(out, place.width);
    return out;
}

std::optional<PreviewDockPlace> DecodePreviewDock(const QByteArray& bytes) {
    if (bytes.size() != 8)
        return std::nullopt;
    const int32_t edge = get(bytes, 0);
    const int32_t width = get(bytes, 1);
    if ((edge != kLeftEdge && edge != kRightEdge) || width <= 0)
        return std::nullopt;
    return PreviewDockPlace{edge == kLeftEdge, width};
}
