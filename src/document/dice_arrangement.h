#pragma once

#include "dice_group_painter.h"
#include "geometry.h"

#include <vector>

namespace rp {

// Places rectangles (moved, keeping their sizes) around an anchor: right of
// it, then the row below, then a new column, then a new row, so that a block
// of equal rectangles grows by a column and then by a row.
void FillAround(const CRect& anchor, std::vector<CRect>& rects);

// Moves groups so that they sit around the dice of a target group.
void LayOutAround(CDiceGroupPainter& target, const std::vector<CDiceGroupPainter*>& groups);

// Places one group next to a target: at the end of the target's row or
// column of three or more dice, or else with the target's dice re-laid out
// around the die nearest its top-left corner and the newcomer last.
void PlaceNextTo(CDiceGroupPainter& target, CDiceGroupPainter& group);

// Arranges a group's dice around its first die, which keeps its place.
void SpreadDice(CDiceGroupPainter& group);

} // namespace rp
