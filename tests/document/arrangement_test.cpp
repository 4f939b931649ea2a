#include "dice_arrangement.h"
#include "die_shapes.h"
#include "gui_test_main.h"
#include "without_pictures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace rp {
namespace {

std::vector<QPoint> Corners(const std::vector<CRect>& rects) {
    std::vector<QPoint> corners;
    for (const CRect& r : rects)
        corners.push_back(r.TopLeft());
    return corners;
}

TEST(FillAround, GrowsByAColumnThenByARow) {
    std::vector<CRect> rects(8, CRect{0, 0, 10, 10});
    FillAround(CRect{0, 0, 10, 10}, rects);
    EXPECT_EQ(Corners(rects),
              (std::vector<QPoint>{
                  {10, 0}, {0, 10}, {10, 10}, {20, 0}, {20, 10}, {0, 20}, {10, 20}, {20, 20}}));
    std::vector<CRect> under(1, CRect{0, 0, 10, 10});
    FillAround(CRect{5, 5, 25, 15}, under); // wider than tall: the first goes below
    EXPECT_EQ(under.front(), (CRect{5, 15, 15, 25}));
}

class ArrangementTest : public test::WithoutDiePictures {
protected:
    static std::unique_ptr<CDiceGroupPainter> Group(std::initializer_list<QPoint> centres) {
        auto group = std::make_unique<CDiceGroupPainter>();
        for (const QPoint& c : centres)
            group->AddDieBack(std::make_unique<C6Sider>(c.x(), c.y(), 1));
        return group;
    }
    static std::vector<QPoint> Positions(const CDiceGroupPainter& group) {
        std::vector<QPoint> positions;
        for (std::size_t i = 0; i < group.Dice().size(); ++i)
            positions.push_back(group.PainterAt(i).GetPosition());
        return positions;
    }
};

TEST_F(ArrangementTest, ContinuesARowOrAColumnOfThree) {
    auto row = Group({{50, 100}, {160, 100}, {270, 100}});
    auto newcomer = Group({{0, 0}});
    PlaceNextTo(*row, *newcomer);
    // Centred at the row's spacing, and half the newcomer's bounding height
    // (title included) below the row's top.
    EXPECT_EQ(newcomer->PainterAt(0).GetPosition().x(), 380);
    EXPECT_EQ(newcomer->GetCenter().y(), 68 + newcomer->GetBoundingRect().Height() / 2);
    EXPECT_EQ(Positions(*row), (std::vector<QPoint>{{50, 100}, {160, 100}, {270, 100}}));

    auto column = Group({{100, 40}, {100, 120}, {100, 200}});
    PlaceNextTo(*column, *newcomer);
    EXPECT_EQ(newcomer->PainterAt(0).GetPosition().y(), 280);
}

TEST_F(ArrangementTest, SmallOrIrregularGroupsAreReLaidOutAroundTheirCorner) {
    // Two dice never continue a row: they are laid out around the die
    // nearest the top-left corner, the newcomer last.
    auto pair = Group({{300, 100}, {100, 100}});
    auto newcomer = Group({{0, 0}});
    PlaceNextTo(*pair, *newcomer);
    EXPECT_EQ(Positions(*pair), (std::vector<QPoint>{{164, 100}, {100, 100}}));
    EXPECT_EQ(newcomer->PainterAt(0).GetPosition(), QPoint(100, 164));
}

TEST_F(ArrangementTest, SpreadAndLayOutAround) {
    auto two = Group({{0, 0}, {0, 0}});
    SpreadDice(*two);
    EXPECT_EQ(Positions(*two), (std::vector<QPoint>{{0, 0}, {64, 0}})); // touching, to the right

    auto four = Group({{10, 10}, {0, 0}, {0, 0}, {0, 0}});
    SpreadDice(*four);
    // The last die goes right of the first, the next-to-last below it.
    EXPECT_EQ(Positions(*four), (std::vector<QPoint>{{10, 10}, {74, 74}, {10, 74}, {74, 10}}));

    auto target = Group({{100, 100}});
    auto a = Group({{0, 0}}), b = Group({{500, 500}});
    LayOutAround(*target, {a.get(), b.get()});
    EXPECT_EQ(a->GetCenter(), QPoint(164, 100));
    EXPECT_EQ(b->GetCenter(), QPoint(100, 164));
    EXPECT_EQ(Positions(*target), (std::vector<QPoint>{{100, 100}}));
}

} // namespace
} // namespace rp
