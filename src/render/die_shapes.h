#pragma once

#include "die_painter.h"

#include <memory>
#include <span>

namespace rp {

// A point of a die outline on the 64 x 64 design grid.
struct GridPoint {
    int gx, gy;
};

// A die outline: the closed face polygon and the open edge lines around it.
struct DieOutline {
    std::span<const GridPoint> polygon;
    std::span<const std::span<const GridPoint>> lines;
};

// A die whose side count has a drawing of its own: a flat line drawing of
// the solid, mapped from the design grid onto the die's rectangle.
class CShapedDie : public CDiePainter {
public:
    using CDiePainter::CDiePainter;
    explicit CShapedDie(const CDiePainter& other) : CDiePainter(other) {}
    void DrawShape(QPainter& dc, bool drawValue, int dx, int dy) const override;

protected:
    virtual const DieOutline& Outline() const = 0;
};

#define RP_DECLARE_SIDER(Name, Sides)                                                              \
    class Name : public CShapedDie {                                                               \
    public:                                                                                        \
        static const DieOutline kOutline;                                                          \
        Name(int x, int y, int rawResult) : CShapedDie(Sides, x, y, rawResult) {}                  \
        explicit Name(const CDiePainter& other) : CShapedDie(other) {}                             \
                                                                                                   \
    protected:                                                                                     \
        const DieOutline& Outline() const override { return kOutline; }                            \
    };

RP_DECLARE_SIDER(C6Sider, 6)
RP_DECLARE_SIDER(C8Sider, 8)
RP_DECLARE_SIDER(C10Sider, 10)
RP_DECLARE_SIDER(C12Sider, 12)
RP_DECLARE_SIDER(C20Sider, 20)
RP_DECLARE_SIDER(C100Sider, 100)
#undef RP_DECLARE_SIDER

// The four-sided die writes its value in the wide lower two thirds.
class C4Sider : public CShapedDie {
public:
    static const DieOutline kOutline;
    C4Sider(int x, int y, int rawResult) : CShapedDie(4, x, y, rawResult) {}
    explicit C4Sider(const CDiePainter& other) : CShapedDie(other) {}

protected:
    CRect ValueRectFor(const CRect& dieRect) const override;
    const DieOutline& Outline() const override { return kOutline; }
};

// Whether a side count has a shape class (4, 6, 8, 10, 12, 20, 100).
bool HasShapeClass(int sideCount);
// A new die of the class the side count calls for, at (x, y).
std::unique_ptr<CDiePainter> MakeDiePainter(int sideCount, int x, int y, int rawResult);
// A copy of a die as the class its side count calls for.
std::unique_ptr<CDiePainter> CloneDiePainter(const CDiePainter& die);

} // namespace rp
