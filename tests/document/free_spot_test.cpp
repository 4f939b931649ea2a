#include "free_spot.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace rp {
namespace {

constexpr int kPitch = 110;

// Every position in turn, as the search is defined.
CRect PlainSearch(const std::vector<CRect>& blockers, CRect block, int width, int& probes) {
    const int rowWidth = block.Width();
    for (probes = 1;; ++probes) {
        if (std::none_of(blockers.begin(), blockers.end(),
                         [&](const CRect& r) { return r.Intersects(block); }))
            return block;
        block = block.Offset(kPitch, 0);
        if (block.right > width)
            block = CRect{10, block.top + kPitch, 10 + rowWidth, block.bottom + kPitch};
    }
}

TEST(FreeSpotTest, FindsThePlainSearchsSpotWithFewerProbes) {
    std::mt19937 random(7);
    const auto draw = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    for (int trial = 0; trial < 2000; ++trial) {
        std::vector<CRect> blockers(static_cast<std::size_t>(draw(0, 14)));
        for (CRect& r : blockers)
            r = CRect::FromPointSize(draw(-50, 700), draw(-50, 700), draw(0, 300), draw(0, 300));
        const int width = draw(130, 800);
        const CRect block = CRect::FromPointSize(10, 10, kPitch * draw(1, 3), kPitch * draw(1, 2));
        int plainProbes = 0, probes = 0;
        const CRect expected = PlainSearch(blockers, block, width, plainProbes);
        ASSERT_EQ(FindFreeSpot(blockers, block, width, kPitch, &probes), expected) << trial;
        EXPECT_LE(probes, plainProbes) << trial;
    }
}

TEST(FreeSpotTest, ATallGroupAcrossTheWidthIsPassedInAFewProbes) {
    // A group of 1,000 dice ten wide, and a die beside its bottom end.
    const std::vector<CRect> blockers{{5, 5, 1095, 11005}, {10, 11010, 120, 11120}};
    int probes = 0;
    const CRect spot = FindFreeSpot(blockers, CRect{10, 10, 120, 120}, 1100, kPitch, &probes);
    EXPECT_EQ(spot, (CRect{120, 11010, 230, 11120}));
    EXPECT_LE(probes, 4);
}

} // namespace
} // namespace rp
