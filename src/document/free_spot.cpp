#include "free_spot.h"

#include <algorithm>
#include <climits>

namespace rp {

namespace {
// The smallest multiple of `step` that is at least `distance` (both positive).
long long StepsToReach(long long distance, int step) {
    return distance <= 0 ? 0 : (distance + step - 1) / step;
}
} // namespace

CRect FindFreeSpot(std::vector<CRect> blockers, CRect block, int width, int pitch, int* probes) {
    const int left = block.left, rowWidth = block.Width(), height = block.Height();
    // Empty rectangles overlap nothing.
    std::erase_if(blockers, [](const CRect& r) { return r.IsEmpty(); });
    std::sort(blockers.begin(), blockers.end(),
              [](const CRect& a, const CRect& b) { return a.top < b.top; });
    std::size_t entered = 0;
    std::vector<CRect> row;
    int tried = 0;
    long long top = block.top;
    for (;;) {
        const long long bottom = top + height;
        // The blockers reaching into this row, left to right; rows only go down.
        std::erase_if(row, [top](const CRect& r) { return r.bottom <= top; });
        for (; entered < blockers.size() && blockers[entered].top < bottom; ++entered)
            if (blockers[entered].bottom > top)
                row.push_back(blockers[entered]);
        std::sort(row.begin(), row.end(),
                  [](const CRect& a, const CRect& b) { return a.left < b.left; });

        // Along the row: every blocker starting before the block's right
        // edge is in reach; the block is free when none of them reaches
        // past its left edge.
        std::size_t reached = 0;
        long long farRight = LLONG_MIN;
        long long coverBottom = LLONG_MAX; // where the row's covering blockers end
        for (long long k = 0;; ++k) {
            const long long x = left + k * pitch;
            if (k > 0 && x + rowWidth > width)
                break;
            ++tried;
            for (; reached < row.size() && row[reached].left < x + rowWidth; ++reached) {
                if (row[reached].right > farRight) {
                    farRight = row[reached].right;
                    coverBottom = std::min<long long>(coverBottom, row[reached].bottom);
                }
            }
            if (farRight <= x) {
                if (probes)
                    *probes = tried;
                return CRect::FromPointSize(static_cast<int>(x), static_cast<int>(top), rowWidth,
                                            height);
            }
            // Positions left of the far right edge overlap that blocker too.
            k = std::max(k, StepsToReach(farRight - left, pitch) - 1);
        }
        // A row covered whole stays covered until one of its blockers ends.
        top += pitch * std::max<long long>(1, StepsToReach(coverBottom - top, pitch));
    }
}

} // namespace rp
