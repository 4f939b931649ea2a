#include "die_shapes.h"

#include "stamps.h"
#include "strokes.h"

#include <QPainter>
#include <QPoint>
#include <array>

namespace rp {

namespace {

using P = GridPoint;
using Line = std::span<const GridPoint>;

// Outlines on the 64 x 64 grid: the face polygon, then the edge lines in order.
constexpr P k4Face[] = {{30, 8}, {59, 57}, {2, 57}};

constexpr P k6Face[] = {{6, 6}, {55, 6}, {55, 55}, {6, 55}};

constexpr P k8Face[] = {{32, 1}, {59, 47}, {4, 47}};
constexpr P k8L1[] = {{32, 1}, {59, 16}, {59, 47}};
constexpr P k8L2[] = {{32, 1}, {4, 17}, {4, 47}};
constexpr P k8L3[] = {{59, 47}, {32, 61}, {4, 47}};
constexpr Line k8Lines[] = {k8L1, k8L2, k8L3};

constexpr P k10Face[] = {{31, 2}, {47, 37}, {31, 51}, {14, 37}};
constexpr P k10L1[] = {{31, 2}, {57, 25}, {55, 38}, {47, 37}};
constexpr P k10L2[] = {{31, 2}, {5, 25}, {6, 38}, {14, 37}};
constexpr P k10L3[] = {{6, 38}, {31, 59}, {31, 51}};
constexpr P k10L4[] = {{31, 59}, {55, 38}};
constexpr Line k10Lines[] = {k10L1, k10L2, k10L3, k10L4};

constexpr P k12Face[] = {{32, 13}, {49, 26}, {42, 46}, {21, 46}, {14, 26}};
constexpr P k12L1[] = {{32, 13}, {32, 3}, {50, 10}, {59, 23}, {49, 26}};
constexpr P k12L2[] = {{59, 23}, {59, 41}, {49, 54}, {42, 46}};
constexpr P k12L3[] = {{49, 54}, {31, 61}, {15, 55}, {21, 46}};
constexpr P k12L4[] = {{15, 55}, {4, 41}, {4, 23}, {14, 26}};
constexpr P k12L5[] = {{4, 23}, {14, 9}, {32, 3}};
constexpr Line k12Lines[] = {k12L1, k12L2, k12L3, k12L4, k12L5};

constexpr P k20Face[] = {{31, 13}, {48, 41}, {14, 41}};
constexpr P k20L1[] = {{48, 41}, {31, 61}, {14, 41}};
constexpr P k20L2[] = {{14, 41}, {6, 16}, {31, 13}};
constexpr P k20L3[] = {{31, 13}, {57, 16}, {48, 41}};
constexpr P k20L4[] = {{6, 16}, {31, 2}, {31, 13}};
constexpr P k20L5[] = {{31, 2}, {57, 16}};
constexpr P k20L6[] = {{57, 16}, {57, 46}, {48, 41}};
constexpr P k20L7[] = {{31, 61}, {57, 46}};
constexpr P k20L8[] = {{31, 61}, {6, 46}, {14, 41}};
constexpr P k20L9[] = {{6, 46}, {6, 16}};
constexpr Line k20Lines[] = {k20L1, k20L2, k20L3, k20L4, k20L5, k20L6, k20L7, k20L8, k20L9};

constexpr P k100Face[] = {{62, 31}, {27, 47}, {13, 31}, {27, 14}};
constexpr P k100L1[] = {{62, 31}, {39, 57}, {26, 55}, {27, 47}};
constexpr P k100L2[] = {{62, 31}, {39, 5}, {26, 6}, {27, 14}};
constexpr P k100L3[] = {{26, 6}, {5, 31}, {13, 31}};
constexpr P k100L4[] = {{5, 31}, {26, 55}};
constexpr Line k100Lines[] = {k100L1, k100L2, k100L3, k100L4};

constexpr int kMaxPoints = 5;

// Maps grid points onto the rectangle with the design grid's integer rule.
int MapPoints(std::span<const GridPoint> points, const CRect& r,
              std::array<QPoint, kMaxPoints>& out) {
    int n = 0;
    for (const GridPoint& p : points)
        out[static_cast<std::size_t>(n++)] =
            QPoint(r.left + p.gx * r.Width() / 64, r.top + p.gy * r.Height() / 64);
    return n;
}

} // namespace

const DieOutline C4Sider::kOutline{k4Face, {}};
const DieOutline C6Sider::kOutline{k6Face, {}};
const DieOutline C8Sider::kOutline{k8Face, k8Lines};
const DieOutline C10Sider::kOutline{k10Face, k10Lines};
const DieOutline C12Sider::kOutline{k12Face, k12Lines};
const DieOutline C20Sider::kOutline{k20Face, k20Lines};
const DieOutline C100Sider::kOutline{k100Face, k100Lines};

void CShapedDie::DrawShape(QPainter& dc, bool drawValue, int dx, int dy) const {
    const CRect r = GetRect().Offset(dx, dy);
    // Every die of a kind and size has the same outline: a stamp.
    DrawStrokeStamp(dc, r.ToQRect(), EStrokeKind::Outline, GetSideCount(), dc.pen(),
                    [&](QPainter& p) {
                        const CLinesOnPixels onPixels(p);
                        std::array<QPoint, kMaxPoints> points;
                        const DieOutline& outline = Outline();
                        p.drawPolygon(points.data(), MapPoints(outline.polygon, r, points));
                        for (const auto& line : outline.lines)
                            p.drawPolyline(points.data(), MapPoints(line, r, points));
                    });
    if (drawValue)
        DrawValue(dc, GetValueRect());
}

CRect C4Sider::ValueRectFor(const CRect& dieRect) const {
    CRect r = dieRect;
    r.top += r.Height() / 3;
    return r;
}

bool HasShapeClass(int sideCount) {
    switch (sideCount) {
    case 4:
    case 6:
    case 8:
    case 10:
    case 12:
    case 20:
    case 100:
        return true;
    default:
        return false;
    }
}

namespace {

// Builds the class for a side count from either constructor's arguments.
template <typename... Args> std::unique_ptr<CDiePainter> MakeShape(int sideCount, Args&&... args) {
    switch (sideCount) {
    case 4:
        return std::make_unique<C4Sider>(std::forward<Args>(args)...);
    case 6:
        return std::make_unique<C6Sider>(std::forward<Args>(args)...);
    case 8:
        return std::make_unique<C8Sider>(std::forward<Args>(args)...);
    case 10:
        return std::make_unique<C10Sider>(std::forward<Args>(args)...);
    case 12:
        return std::make_unique<C12Sider>(std::forward<Args>(args)...);
    case 20:
        return std::make_unique<C20Sider>(std::forward<Args>(args)...);
    case 100:
        return std::make_unique<C100Sider>(std::forward<Args>(args)...);
    default:
        return nullptr;
    }
}

} // namespace

std::unique_ptr<CDiePainter> MakeDiePainter(int sideCount, int x, int y, int rawResult) {
    if (auto die = MakeShape(sideCount, x, y, rawResult))
        return die;
    return std::make_unique<CDiePainter>(sideCount, x, y, rawResult);
}

std::unique_ptr<CDiePainter> CloneDiePainter(const CDiePainter& die) {
    if (auto copy = MakeShape(die.GetSideCount(), die))
        return copy;
    return std::make_unique<CDiePainter>(die);
}

} // namespace rp
