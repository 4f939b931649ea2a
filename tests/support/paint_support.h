#pragma once

#include "colour.h"
#include "strokes.h"
#include "text_metrics.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

namespace rp::test {

// A canvas set up as the tray view sets up its painter: white background,
// opaque text background, a one-unit pen and text in the contrast colour,
// the tray font. Width and height are in tray units; pixels are looked at
// in device pixels, `ratio` of them per unit.
struct Canvas {
    explicit Canvas(int width = 300, int height = 300, QColor background = Qt::white,
                    qreal ratio = 1, int dpi = 96)
        : image(qRound(width * ratio), qRound(height * ratio), QImage::Format_RGB32), painter() {
        image.setDevicePixelRatio(ratio);
        image.setDotsPerMeterX(qRound(dpi / 0.0254));
        image.setDotsPerMeterY(qRound(dpi / 0.0254));
        image.fill(background);
        painter.begin(&image);
        painter.setFont(TrayFont());
        painter.setPen(TrayPen(ContrastColor(background)));
        painter.setBackground(background);
        painter.setBackgroundMode(Qt::OpaqueMode);
    }
    QColor At(int x, int y) { return Finish().pixelColor(x, y); }
    const QImage& Finish() {
        if (painter.isActive())
            painter.end();
        return image;
    }
    // Pixels of exactly this colour inside [left, right) x [top, bottom).
    int Count(int left, int top, int right, int bottom, QColor colour) {
        const QImage& done = Finish();
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                n += done.pixelColor(x, y) == colour;
        return n;
    }
    // Text is antialiased: count pixels darker (or lighter) than mid-grey.
    int CountDark(int left, int top, int right, int bottom) {
        return CountWhere(left, top, right, bottom, [](QColor c) { return c.lightness() < 100; });
    }
    int CountLight(int left, int top, int right, int bottom) {
        return CountWhere(left, top, right, bottom, [](QColor c) { return c.lightness() > 160; });
    }
    template <typename Test> int CountWhere(int left, int top, int right, int bottom, Test test) {
        const QImage& done = Finish();
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                n += test(done.pixelColor(x, y));
        return n;
    }
    QImage image;
    QPainter painter;
};

} // namespace rp::test
