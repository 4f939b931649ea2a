#pragma once

#include <QSize>
#include <QString>

class QPainter;

namespace rp {

// Width and height of a one-line text in the painter's current font.
QSize MeasureText(const QPainter& painter, const QString& text);
// The same in the application font, which the tray view draws with: used
// where geometry is needed without a painter (hit tests, bounding rectangles).
QSize MeasureClientText(const QString& text);

} // namespace rp
