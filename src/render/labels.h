#pragma once

#include "fraction.h"
#include "geometry.h"

#include <QSize>
#include <QString>

class QPainter;

namespace rp {

// The modifier label reads "+3" or "-2"; none for 0.
QString ModifierLabelText(int modifier);
// The multiplier label reads "2 x" or "1/2 x"; none for "1".
QString MultiplierLabelText(const QString& multiplierText);

// Modifier labels sit right of their anchor, multiplier labels left of it,
// both with their top on the anchor's top.
CRect ModifierLabelRect(const CRect& anchor, QSize text);
CRect MultiplierLabelRect(const CRect& anchor, QSize text);

// The anchor joined with its modifier and multiplier labels, as measured in
// the tray font; and the drawing of those labels.
CRect JoinLabels(const CRect& anchor, int modifier, const CFraction& multiplier);
void DrawLabels(QPainter& dc, const CRect& anchor, int modifier, const CFraction& multiplier);

// Draws a text with plain left/top alignment at the rectangle's corner.
void DrawPlainText(QPainter& dc, const CRect& rect, const QString& text);

} // namespace rp
