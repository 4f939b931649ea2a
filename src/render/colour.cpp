#include "colour.h"

#include <algorithm>

namespace rp {

namespace {

// The classic integer hue/lightness/saturation conversion on a 0..240 scale.
constexpr int kHlsMax = 240;
constexpr int kRgbMax = 255;
constexpr int kUndefinedHue = kHlsMax * 2 / 3;

struct Hls {
    int h, l, s;
};

Hls ToHls(ColorValue c) {
    const int r = RedOf(c), g = GreenOf(c), b = BlueOf(c);
    const int cMax = std::max({r, g, b});
    const int cMin = std::min({r, g, b});
    Hls hls{kUndefinedHue, ((cMax + cMin) * kHlsMax + kRgbMax) / (2 * kRgbMax), 0};
    if (cMax == cMin)
        return hls;
    const int sum = cMax + cMin, diff = cMax - cMin;
    if (hls.l <= kHlsMax / 2)
        hls.s = (diff * kHlsMax + sum / 2) / sum;
    else
        hls.s = (diff * kHlsMax + (2 * kRgbMax - sum) / 2) / (2 * kRgbMax - sum);
    const int rDelta = ((cMax - r) * (kHlsMax / 6) + diff / 2) / diff;
    const int gDelta = ((cMax - g) * (kHlsMax / 6) + diff / 2) / diff;
    const int bDelta = ((cMax - b) * (kHlsMax / 6) + diff / 2) / diff;
    if (r == cMax)
        hls.h = bDelta - gDelta;
    else if (g == cMax)
        hls.h = kHlsMax / 3 + rDelta - bDelta;
    else
        hls.h = 2 * kHlsMax / 3 + gDelta - rDelta;
    if (hls.h < 0)
        hls.h += kHlsMax;
    if (hls.h > kHlsMax)
        hls.h -= kHlsMax;
    return hls;
}

int HueToRgb(int n1, int n2, int hue) {
    if (hue < 0)
        hue += kHlsMax;
    if (hue > kHlsMax)
        hue -= kHlsMax;
    if (hue < kHlsMax / 6)
        return n1 + (((n2 - n1) * hue + kHlsMax / 12) / (kHlsMax / 6));
    if (hue < kHlsMax / 2)
        return n2;
    if (hue < kHlsMax * 2 / 3)
        return n1 + (((n2 - n1) * (kHlsMax * 2 / 3 - hue) + kHlsMax / 12) / (kHlsMax / 6));
    return n1;
}

ColorValue FromHls(const Hls& hls) {
    if (hls.s == 0) {
        const int grey = hls.l * kRgbMax / kHlsMax;
        return Rgb(grey, grey, grey);
    }
    const int magic2 = hls.l <= kHlsMax / 2
                           ? (hls.l * (kHlsMax + hls.s) + kHlsMax / 2) / kHlsMax
                           : hls.l + hls.s - (hls.l * hls.s + kHlsMax / 2) / kHlsMax;
    const int magic1 = 2 * hls.l - magic2;
    auto channel = [&](int hue) {
        return std::clamp((HueToRgb(magic1, magic2, hue) * kRgbMax + kHlsMax / 2) / kHlsMax, 0,
                          255);
    };
    return Rgb(channel(hls.h + kHlsMax / 3), channel(hls.h), channel(hls.h - kHlsMax / 3));
}

} // namespace

ColorValue ContrastColor(ColorValue c) {
    const double luma = (0.30 * RedOf(c) + 0.59 * GreenOf(c) + 0.11 * BlueOf(c)) / 255.0;
    return luma < 0.5 ? kWhite : 0;
}

ColorValue LightenColor(ColorValue c, double f) {
    Hls hls = ToHls(c);
    f = std::min(f, 1.0);
    hls.l = static_cast<int>(hls.l + (kHlsMax - hls.l) * f);
    return FromHls(hls);
}

} // namespace rp
