#include "colour.h"
#include "geometry.h"

#include <gtest/gtest.h>

namespace rp {
namespace {

TEST(Colour, ContrastAndLighten) {
    EXPECT_EQ(ContrastColor(Rgb(0, 0, 0)), kWhite);
    EXPECT_EQ(ContrastColor(kWhite), 0u);
    EXPECT_EQ(ContrastColor(Rgb(0, 128, 0)), kWhite); // luma 0.296
    EXPECT_EQ(ContrastColor(Rgb(0, 255, 0)), 0u);     // luma 0.59
    EXPECT_EQ(ContrastColor(Rgb(128, 128, 128)), 0u); // luma 0.502
    EXPECT_EQ(ContrastColor(Rgb(127, 127, 127)), kWhite);

    EXPECT_EQ(LightenColor(Rgb(0, 0, 0), 0.5), Rgb(127, 127, 127));
    EXPECT_EQ(LightenColor(Rgb(0, 0, 0), 2.0), Rgb(255, 255, 255));
    EXPECT_EQ(LightenColor(Rgb(255, 0, 0), 0.0), Rgb(255, 0, 0));
    EXPECT_EQ(LightenColor(Rgb(255, 0, 0), 0.5), Rgb(255, 128, 128));
    EXPECT_EQ(LightenColor(Rgb(0, 0, 255), 0.0), Rgb(0, 0, 255));
    EXPECT_EQ(LightenColor(kWhite, 0.5), kWhite);

    EXPECT_EQ(Rgb(1, 2, 3), 0x030201u);
    EXPECT_EQ(ToQColor(Rgb(10, 20, 30)), QColor(10, 20, 30));
    EXPECT_EQ(FromQColor(QColor(10, 20, 30)), Rgb(10, 20, 30));
}

TEST(Rect, ExclusiveEdgesAndTruncatingCentre) {
    const CRect r{0, 0, 5, 5};
    EXPECT_TRUE(r.Contains({0, 0}));
    EXPECT_TRUE(r.Contains({4, 4}));
    EXPECT_FALSE(r.Contains({5, 4}));
    EXPECT_FALSE(r.Contains({4, 5}));
    EXPECT_EQ(r.Center(), QPoint(2, 2));
    EXPECT_EQ((CRect{-5, -5, 0, 0}).Center(), QPoint(-2, -2));

    EXPECT_EQ(r.Union(CRect{10, 10, 12, 12}), (CRect{0, 0, 12, 12}));
    EXPECT_EQ(r.Union(CRect{}), r);
    EXPECT_EQ(CRect{}.Join(CRect{-3, 2, 4, 6}), (CRect{-3, 0, 4, 6}));
    EXPECT_EQ(r.Intersect(CRect{3, 3, 9, 9}), (CRect{3, 3, 5, 5}));
    EXPECT_FALSE(r.Intersects(CRect{5, 0, 9, 5})); // touching is not intersecting
    EXPECT_EQ((CRect{9, 8, 1, 2}).Normalized(), (CRect{1, 2, 9, 8}));
    EXPECT_EQ(r.Offset(2, -1).Inflate(1), (CRect{1, -2, 8, 5}));
    EXPECT_EQ(r.OutlineRect(), QRect(0, 0, 4, 4));
}

} // namespace
} // namespace rp
