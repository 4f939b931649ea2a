#pragma once

#include "colour.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

namespace rp::test {

// A canvas set up as the tray view sets up its painter: white background,
// opaque text background, black pen and text, the application font.
struct Canvas {
    explicit Canvas(int width = 300, int height = 300, QColor background = Qt::white)
        : image(width, height, QImage::Format_RGB32), painter() {
        image.fill(background);
        painter.begin(&image);
        painter.setFont(QGuiApplication::font());
        painter.setPen(ContrastColor(background));
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
