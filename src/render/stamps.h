#pragma once

#include <QColor>
#include <QPen>
#include <QRect>
#include <QString>
#include <functional>

class QPainter;

namespace rp {

// What a tray paints again and again (face values, titles, totals, labels,
// die outlines, the crosses on ignored dice) is kept as small pictures, laid
// out and painted once, then copied. A copy gives the pixels painting gives:
// a picture is kept only when each of its pixels is painted over
// completely, left alone, or painted in part by one colour, as an opaque
// text box with its letters inside is (its edges in part at ratio 2), or
// lines without antialiasing are. A pixel painted in part is kept with its
// coverage and copied over what lies beneath as painting blends it. Letters
// reaching out of their box onto a box edge (two blends in one pixel, which
// no single coverage gives for every colour beneath), a text on a
// transparent background, a scale that is not a whole number of device
// pixels, lines that reach the edge of what is painted: such things are
// painted each time.
//
// The pictures are shared by every entity of every tray state and bounded in
// number and size. They depend on the device pixel ratio, the painter's font
// and its resolution: when one of these changes, all are dropped. Colours
// and pens are part of each picture's key. Texts that cannot be stamped keep
// their layout, under the same rules. Trays are painted on the GUI thread
// only, and so are the stamps kept.

// As dc.drawText(rect, flags, text) with `colour` as the pen and `background`
// as the background colour, in the painter's font and background mode. The
// painter is left as it was.
void DrawTextStamp(QPainter& dc, const QRect& rect, int flags, const QString& text,
                   const QColor& colour, const QColor& background);

// What tells stroke drawings of the same size apart.
enum class EStrokeKind { Frame, Cross, Outline };

// What `paint` draws with `pen` and no brush over `box` and at most a unit
// around it, in the painter's background and mode. `kind` and `variant` (a
// side count, say) name the drawing: it must be the same, relative to the
// box, for every box of a size. The painter is left as it was.
void DrawStrokeStamp(QPainter& dc, const QRect& box, EStrokeKind kind, int variant, const QPen& pen,
                     const std::function<void(QPainter&)>& paint);

// Whether lines drawn over `box` would show nowhere: it lies, with a unit
// around it, wholly outside what the painter paints.
bool OutsidePainting(const QPainter& dc, const QRect& box);

// Drops every kept picture: the next paintings make them afresh.
void DropStamps();

} // namespace rp
