#pragma once

#include <QFont>
#include <QSize>
#include <QString>

namespace rp {

// Tray texts (titles, labels, totals, face values, free texts) are measured
// and drawn in one font: TrayFont(), the application font with its size
// fixed in pixels at the screen's logical resolution. A pixel size does not
// follow the painted device's dots per inch, so a text takes the same tray
// units on a screen at any scale, in an image at any device pixel ratio or
// resolution, and wherever it is measured.
//
// Whoever paints tray entities (the tray view, image renders) sets this
// font on the painter before drawing: painter.setFont(TrayFont()). Nothing
// here measures on the painter; a painter with another font would draw
// texts that do not fit the rectangles that hit tests and layout use.
// The rest of the painter's set-up: pen TrayPen(contrast colour of the
// background) (strokes.h), background brush of the tray's colour with
// Qt::OpaqueMode, no antialiasing, and no scaling of its own: tray units
// map to the device's logical pixels, its pixel ratio does the rest.
QFont TrayFont();

// Width and height of a one-line text in TrayFont(), in tray units.
QSize MeasureClientText(const QString& text);

} // namespace rp
