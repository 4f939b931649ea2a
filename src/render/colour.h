#pragma once

#include <QColor>
#include <cstdint>

namespace rp {

// A colour value: red in the low byte, then green, then blue (0x00BBGGRR).
using ColorValue = std::uint32_t;

constexpr ColorValue kWhite = 0xFFFFFF;

constexpr ColorValue Rgb(int r, int g, int b) {
    return static_cast<ColorValue>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(ColorValue c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(ColorValue c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(ColorValue c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

inline QColor ToQColor(ColorValue c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}
inline ColorValue FromQColor(const QColor& c) {
    return Rgb(c.red(), c.green(), c.blue());
}

// White for dark colours, black for light ones (luma 0.30 R + 0.59 G + 0.11 B).
ColorValue ContrastColor(ColorValue c);
inline QColor ContrastColor(const QColor& c) {
    return ToQColor(ContrastColor(FromQColor(c)));
}

// Raises the colour's lightness on the 0..240 hue/lightness/saturation scale
// by the fraction f (at most 1) of what is left up to white.
ColorValue LightenColor(ColorValue c, double f);

} // namespace rp
