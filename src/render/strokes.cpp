#include "strokes.h"

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

void DrawFrame(QPainter& dc, const CRect& rect, const QColor& colour, Qt::PenStyle style) {
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
