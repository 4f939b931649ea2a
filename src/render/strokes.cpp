#include "strokes.h"

#include "stamps.h"

#include <QPainter>
#include <cmath>

namespace rp {

QPen TrayPen(const QColor& colour, Qt::PenStyle style) {
    // Square caps reach the end pixels; mitred joins keep rectangle corners
    // square once a line is wider than one device pixel.
    return QPen(colour, 1, style, Qt::SquareCap, Qt::MiterJoin);
}

namespace {

// How far to move lines, in units, for a scale of device pixels per unit.
qreal LineShift(qreal scale) {
    return scale > 1 ? std::floor(scale / 2) / scale : 0;
}

} // namespace

CLinesOnPixels::CLinesOnPixels(QPainter& dc) : dc(dc), world(dc.worldTransform()) {
    const QTransform& device = dc.deviceTransform();
    const qreal dx = LineShift(device.m11()), dy = LineShift(device.m22());
    moved = dx != 0 || dy != 0;
    if (moved)
        dc.translate(dx, dy);
}

CLinesOnPixels::~CLinesOnPixels() {
    if (moved)
        dc.setWorldTransform(world);
}

namespace {

// Whether the painter maps units onto whole device pixels, by a whole scale
// and a shift of whole pixels, without antialiasing.
bool OnWholePixels(const QPainter& dc) {
    const QTransform& t = dc.deviceTransform();
    return t.type() <= QTransform::TxScale && t.m11() == t.m22() && t.m11() >= 1 &&
           t.m11() == std::floor(t.m11()) && t.dx() == std::floor(t.dx()) &&
           t.dy() == std::floor(t.dy()) && !dc.testRenderHint(QPainter::Antialiasing);
}

} // namespace

void DrawFrame(QPainter& dc, const CRect& rect, const QColor& colour, Qt::PenStyle style) {
    if (OutsidePainting(dc, rect.ToQRect()))
        return;
    // On whole pixels a solid frame covers just the rectangle's edge pixels:
    // four fills paint them without building a stroke.
    if (style == Qt::SolidLine && rect.Width() >= 3 && rect.Height() >= 3 && OnWholePixels(dc)) {
        const int width = rect.Width(), height = rect.Height();
        dc.fillRect(QRect(rect.left, rect.top, width, 1), colour);
        dc.fillRect(QRect(rect.left, rect.bottom - 1, width, 1), colour);
        dc.fillRect(QRect(rect.left, rect.top + 1, 1, height - 2), colour);
        dc.fillRect(QRect(rect.right - 1, rect.top + 1, 1, height - 2), colour);
        return;
    }
    dc.save();
    dc.setPen(TrayPen(colour, style));
    dc.setBrush(Qt::NoBrush);
    {
        const CLinesOnPixels onPixels(dc);
        dc.drawRect(rect.OutlineRect());
    }
    dc.restore();
}

void DrawTrayLine(QPainter& dc, QPoint from, QPoint to, const QColor& colour, Qt::PenStyle style) {
    dc.save();
    dc.setPen(TrayPen(colour, style));
    {
        const CLinesOnPixels onPixels(dc);
        dc.drawLine(from, to);
    }
    dc.restore();
}

} // namespace rp
