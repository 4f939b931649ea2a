#include "dice_arrangement.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace rp {

namespace {

// Every die of a group on the tray is drawable.
CDiePainter& Painter(const std::unique_ptr<CDie>& die) {
    return static_cast<CDiePainter&>(*die);
}

// Moves a group so that its centre comes to `centre`.
void CentreOn(CDocEntity& entity, QPoint centre) {
    const QPoint now = entity.GetCenter();
    entity.Offset(centre.x() - now.x(), centre.y() - now.y());
}

} // namespace

void FillAround(const CRect& anchor, std::vector<CRect>& rects) {
    QPoint cursor = anchor.TopLeft();
    int lastRight = anchor.right, maxRight = anchor.right;
    int lastBottom = anchor.bottom, maxBottom = anchor.bottom;
    for (CRect& r : rects) {
        if (lastRight < maxRight)
            cursor.setX(lastRight);
        else if (lastBottom < maxBottom)
            cursor.setY(lastBottom);
        else if (maxRight - anchor.left > maxBottom - anchor.top)
            cursor = QPoint(anchor.left, maxBottom);
        else
            cursor = QPoint(maxRight, anchor.top);
        r = CRect::FromPointSize(cursor.x(), cursor.y(), r.Width(), r.Height());
        lastRight = r.right;
        lastBottom = r.bottom;
        maxRight = std::max(maxRight, r.right);
        maxBottom = std::max(maxBottom, r.bottom);
    }
}

void LayOutAround(CDiceGroupPainter& target, const std::vector<CDiceGroupPainter*>& groups) {
    if (groups.size() == 1) {
        PlaceNextTo(target, *groups.front());
        return;
    }
    std::vector<CRect> rects;
    rects.reserve(groups.size());
    for (const CDiceGroupPainter* group : groups)
        rects.push_back(group->GetBodyRect());
    FillAround(target.GetBodyRect(), rects);
    for (std::size_t i = 0; i < groups.size(); ++i)
        CentreOn(*groups[i], rects[i].Center());
}

void PlaceNextTo(CDiceGroupPainter& target, CDiceGroupPainter& group) {
    if (target.GetCount() == 0)
        return;
    const QPoint corner = target.GetBodyRect().TopLeft();
    // The target's dice, last first.
    CDiceGroup::DieList work = target.TakeAllDice();
    std::reverse(work.begin(), work.end());

    bool placed = false;
    if (work.size() > 2) {
        int minCX = std::numeric_limits<int>::max(), maxCX = std::numeric_limits<int>::min();
        int minCY = minCX, maxCY = maxCX;
        bool sameLeft = true, sameTop = true;
        const CRect first = Painter(work.front()).GetBoundingRect();
        for (const auto& die : work) {
            const CRect r = Painter(die).GetBoundingRect();
            const QPoint c = r.Center();
            minCX = std::min(minCX, c.x());
            maxCX = std::max(maxCX, c.x());
            minCY = std::min(minCY, c.y());
            maxCY = std::max(maxCY, c.y());
            sameLeft = sameLeft && r.left == first.left;
            sameTop = sameTop && r.top == first.top;
        }
        const int gaps = static_cast<int>(work.size()) - 1;
        const CRect bounds = group.GetBoundingRect();
        if (!sameLeft && sameTop) {
            CentreOn(group,
                     QPoint(maxCX + (maxCX - minCX) / gaps, first.top + bounds.Height() / 2));
            placed = true;
        } else if (sameLeft && !sameTop) {
            CentreOn(group,
                     QPoint(first.left + bounds.Width() / 2, maxCY + (maxCY - minCY) / gaps));
            placed = true;
        }
    }

    if (!placed) {
        // Anchor: the die nearest the target's top-left corner; the first found wins ties.
        std::size_t anchor = 0;
        std::int64_t best = std::numeric_limits<std::int64_t>::max();
        for (std::size_t i = 0; i < work.size(); ++i) {
            const QPoint d = Painter(work[i]).GetPosition() - corner;
            const std::int64_t distance = std::int64_t{d.x()} * d.x() + std::int64_t{d.y()} * d.y();
            if (distance < best) {
                best = distance;
                anchor = i;
            }
        }
        std::vector<CRect> rects;
        for (std::size_t i = 0; i < work.size(); ++i)
            if (i != anchor)
                rects.push_back(Painter(work[i]).GetBoundingRect());
        rects.push_back(group.GetBodyRect());
        FillAround(Painter(work[anchor]).GetBoundingRect(), rects);
        std::size_t next = 0;
        for (std::size_t i = 0; i < work.size(); ++i) {
            if (i == anchor)
                continue;
            const QPoint c = rects[next++].Center();
            Painter(work[i]).SetPosition(c.x(), c.y());
        }
        CentreOn(group, rects.back().Center());
    }

    // Back in the order they had.
    for (auto it = work.rbegin(); it != work.rend(); ++it)
        target.AddDieBack(std::move(*it));
}

void SpreadDice(CDiceGroupPainter& group) {
    if (group.GetCount() < 2)
        return;
    CDiceGroup::DieList dice = group.TakeAllDice();

    CDiceGroupPainter anchor;
    anchor.AddDieBack(std::move(dice.front()));
    // One group per remaining die, the last die's group first.
    std::vector<std::unique_ptr<CDiceGroupPainter>> singles;
    for (std::size_t i = dice.size(); i-- > 1;) {
        singles.push_back(std::make_unique<CDiceGroupPainter>());
        singles.back()->AddDieBack(std::move(dice[i]));
    }
    std::vector<CDiceGroupPainter*> raw;
    for (const auto& single : singles)
        raw.push_back(single.get());
    LayOutAround(anchor, raw);

    // Back in the original order: singles hold the dice last-first.
    group.AddDieBack(anchor.RemoveFirstDie());
    for (auto it = singles.rbegin(); it != singles.rend(); ++it)
        group.AddDieBack((*it)->RemoveFirstDie());
}

} // namespace rp
