#pragma once

#include "geometry.h"

#include <QColor>
#include <QPen>
#include <QPoint>
#include <QTransform>

class QPainter;

namespace rp {

// Every line of the tray is one tray unit wide, so outlines, frames,
// crosses, selection marks, the rubber band and guide lines keep one
// thickness at every device pixel ratio (one device pixel at 1, two at 2).
// Whoever paints tray entities sets TrayPen(text colour) as the painter's
// pen: die outlines are drawn with the painter's pen.
QPen TrayPen(const QColor& colour, Qt::PenStyle style = Qt::SolidLine);

// While it lives, a one-unit line between integer points covers exactly the
// device pixels of the tray pixels it names, at any device pixel ratio. A
// line one device pixel wide lands right of and below its points; a wider
// one is centred on them, so it is moved by half its width (less half a
// device pixel). Only for strokes: text and pictures are placed as they are.
class CLinesOnPixels {
public:
    explicit CLinesOnPixels(QPainter& dc);
    ~CLinesOnPixels();
    CLinesOnPixels(const CLinesOnPixels&) = delete;
    CLinesOnPixels& operator=(const CLinesOnPixels&) = delete;

private:
    QPainter& dc;
    QTransform world;
    bool moved = false;
};

// A one-unit outline over the rectangle's pixels with a dotted or solid pen
// of the given colour and no fill; the painter is left as it was.
void DrawFrame(QPainter& dc, const CRect& rect, const QColor& colour, Qt::PenStyle style);
// A one-unit line through both end pixels; the painter is left as it was.
void DrawTrayLine(QPainter& dc, QPoint from, QPoint to, const QColor& colour, Qt::PenStyle style);

} // namespace rp
