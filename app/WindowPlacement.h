#pragma once
// The 44-byte window placement kept as "Layout"/"Main": record length (always
// 44), flags, show state, minimised and maximised positions and the normal
// rectangle (left, top, right, bottom), all 32-bit little-endian. The shell
// stores the window's normal rectangle and whether it was maximised; it
// always restores the normal state.

#include <QByteArray>
#include <QRect>
#include <optional>

struct WindowPlacement {
    static constexpr int kSize = 44;
    enum ShowState : int32_t { Normal = 1, Minimised = 2, Maximised = 3 };

    int32_t flags = 0;
    int32_t showState = Normal;
    int32_t minX = -1, minY = -1;
    int32_t maxX = -1, maxY = -1;
    QRect normal; // the right and bottom edges are stored exclusive

    QByteArray encode() const;
    // Nothing when the bytes are not a 44-byte record of length 44 or the
    // rectangle is empty.
    static std::optional<WindowPlacement> decode(const QByteArray& bytes);
};

// The first-start placement: x 150, y 150, 460 x 340.
inline constexpr QRect kDefaultWindowRect(150, 150, 460, 340);
// The handheld keeps no placement; away from a phone, whose shell sizes the
// window itself, it opens phone-sized.
inline constexpr QSize kHandheldWindowSize(360, 640);

// The 4-byte "Layout"/"Preview" value: 1 when the pane was shown, else 0.
QByteArray EncodePreviewShown(bool shown);
// Nothing when the value is missing or not 4 bytes; any non-zero value shows.
std::optional<bool> DecodePreviewShown(const QByteArray& bytes);

// The 8-byte "Layout"/"PreviewDock" value of the desktop: the edge the pane
// is docked on (1 left, 2 right) and its width, 32-bit little-endian each.
struct PreviewDockPlace {
    bool left = false;
    int width = 0;
};
QByteArray EncodePreviewDock(const PreviewDockPlace& place);
// Nothing when the value is missing, not 8 bytes, names no edge or no width.
std::optional<PreviewDockPlace> DecodePreviewDock(const QByteArray& bytes);
