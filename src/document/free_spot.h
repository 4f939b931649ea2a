#pragma once

#include "geometry.h"

#include <vector>

namespace rp {

// Where added dice go: a block of `rowWidth` (and the block's height) is
// tried at x = 10, 10 + pitch, ... along a row while it fits in `width`
// (the first position of a row always), then on the next row down, pitch
// lower, until it overlaps none of the blockers. The result is the block
// that position gives, the same as probing every position in turn, but
// positions covered by a blocker are skipped at once, as are the rows a
// blocker covers whole. `probes`, when given, counts the positions tried.
CRect FindFreeSpot(std::vector<CRect> blockers, CRect block, int width, int pitch,
                   int* probes = nullptr);

} // namespace rp
