#include "doc_state.h"

#include "die_shapes.h"
#include "strokes.h"
#include "text_painter.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <cstdlib>
#include <optional>
#include <utility>

namespace rp {

namespace {
const QColor kGreen(0, 255, 0);
const QColor kRed(255, 0, 0);

QColor Highlight() {
    return QGuiApplication::palette().color(QPalette::Highlight);
}
} // namespace

namespace {
std::uint64_t NextStateId() {
    static std::uint64_t last = 0;
    return ++last;
}
} // namespace

CDocState::CDocState(ITrayHost* host) : id(NextStateId()), host(host) {}

CDocState::CDocState(const CDocState& other)
    : id(NextStateId()), host(other.host), background(other.background) {
    entities.reserve(other.entities.size());
    for (const auto& entity : other.entities)
        entities.push_back(entity->Clone());
}

QColor CDocState::GetBackgroundColor() const {
    return background == kWhite ? QGuiApplication::palette().color(QPalette::Base)
                                : ToQColor(background);
}

void CDocState::AddFront(std::unique_ptr<CDocEntity> entity) {
    entities.insert(entities.begin(), std::move(entity));
}

void CDocState::AddBack(std::unique_ptr<CDocEntity> entity) {
    entities.push_back(std::move(entity));
}

void CDocState::DrawAll(QPainter& dc) const {
    for (auto it = entities.rbegin(); it != entities.rend(); ++it)
        (*it)->Draw(dc);
}

CDocEntity* CDocState::EntityAt(QPoint point) const {
    for (const auto& entity : entities)
        if (entity->HitTest(point))
            return entity.get();
    return nullptr;
}

CDiceGroupPainter* CDocState::GroupAt(QPoint point) const {
    for (const auto& entity : entities)
        if (auto* group = dynamic_cast<CDiceGroupPainter*>(entity.get());
            group && group->HitTest(point))
            return group;
    return nullptr;
}

int CDocState::SelectAt(QPoint point, bool extend, bool toggle) {
    CDocEntity* hit = EntityAt(point);
    if (!extend && !toggle && (!hit || !hit->IsSelected()))
        SelectNone();
    if (!hit)
        return 0;
    if (!hit->IsSelected())
        hit->SetSelected(true);
    else if (toggle)
        hit->SetSelected(false);
    return hit->IsSelected() ? 1 : 2;
}

void CDocState::SelectInRect(const CRect& rect, bool toggle) {
    for (const auto& entity : entities) {
        if (!rect.Contains(entity->GetCenter()))
            continue;
        if (!entity->IsSelected())
            entity->SetSelected(true);
        else if (toggle)
            entity->SetSelected(false);
    }
}

void CDocState::SelectAll() {
    for (const auto& entity : entities)
        entity->SetSelected(true);
}

void CDocState::SelectNone() {
    for (const auto& entity : entities)
        entity->SetSelected(false);
}

void CDocState::InvertSelection() {
    for (const auto& entity : entities)
        entity->SetSelected(!entity->IsSelected());
}

std::vector<CDocEntity*> CDocState::GetSelectedEntities() const {
    std::vector<CDocEntity*> selected;
    for (const auto& entity : entities)
        if (entity->IsSelected())
            selected.push_back(entity.get());
    return selected;
}

std::vector<CDiceGroupPainter*> CDocState::GetSelectedGroups() const {
    std::vector<CDiceGroupPainter*> selected;
    for (const auto& entity : entities)
        if (auto* group = dynamic_cast<CDiceGroupPainter*>(entity.get());
            group && group->IsSelected())
            selected.push_back(group);
    return selected;
}

int CDocState::GetSelectedCount() const {
    return static_cast<int>(std::count_if(entities.begin(), entities.end(),
                                          [](const auto& e) { return e->IsSelected(); }));
}

int CDocState::GetSelectedGroupCount() const {
    return static_cast<int>(GetSelectedGroups().size());
}

int CDocState::GetSelectedDiceCount() const {
    int dice = 0;
    for (const CDiceGroupPainter* group : GetSelectedGroups())
        dice += group->GetCount();
    return dice;
}

int CDocState::GetFirstIgnoreCount() const {
    const auto groups = GetSelectedGroups();
    return groups.empty() ? 0 : groups.front()->GetIgnoreCount();
}

int CDocState::GetFirstIgnoreHighestCount() const {
    const auto groups = GetSelectedGroups();
    return groups.empty() ? 0 : groups.front()->GetIgnoreHighestCount();
}

void CDocState::GetCommonProperties(QString* title, int* modifier, QString* multiplier) const {
    const auto groups = GetSelectedGroups();
    if (groups.empty())
        return;
    QString commonTitle = QString::fromStdString(groups.front()->GetTitle());
    int commonModifier = groups.front()->GetEffectiveModifier();
    QString commonMultiplier = QString::fromStdString(groups.front()->GetEffectiveMultiplierText());
    for (std::size_t i = 1; i < groups.size(); ++i) {
        if (QString::fromStdString(groups[i]->GetTitle()) != commonTitle)
            commonTitle.clear();
        if (groups[i]->GetEffectiveModifier() != commonModifier)
            commonModifier = 0;
        if (QString::fromStdString(groups[i]->GetEffectiveMultiplierText()) != commonMultiplier)
            commonMultiplier.clear();
    }
    if (title)
        *title = commonTitle;
    if (modifier)
        *modifier = commonModifier;
    if (multiplier)
        *multiplier = commonMultiplier;
}

std::vector<CDocEntity*> CDocState::InReadingOrder() const {
    std::vector<CDocEntity*> order;
    order.reserve(entities.size());
    for (const auto& entity : entities)
        order.push_back(entity.get());
    // Stable: of equal corners, the front one stays first.
    std::stable_sort(order.begin(), order.end(), [](const CDocEntity* a, const CDocEntity* b) {
        const CRect ra = a->GetBoundingRect(), rb = b->GetBoundingRect();
        return std::pair(ra.top, ra.left) < std::pair(rb.top, rb.left);
    });
    return order;
}

CDocEntity* CDocState::EntityById(std::uint64_t id) const {
    for (const auto& entity : entities)
        if (entity->GetId() == id)
            return entity.get();
    return nullptr;
}

SRuleFields CDocState::GetCommonRules() const {
    const auto groups = GetSelectedGroups();
    if (groups.empty())
        return {};
    const SGroupRules first = groups.front()->GetRules();
    SRuleFields common{first.ignoreLowest, first.ignoreHighest, first.rerollBelow, first.explode,
                       first.countAtLeast};
    const auto keepIfSame = [](auto& field, auto value) {
        if (field != value)
            field.reset();
    };
    for (std::size_t i = 1; i < groups.size(); ++i) {
        const SGroupRules rules = groups[i]->GetRules();
        keepIfSame(common.ignoreLowest, rules.ignoreLowest);
        keepIfSame(common.ignoreHighest, rules.ignoreHighest);
        keepIfSame(common.rerollBelow, rules.rerollBelow);
        keepIfSame(common.explode, rules.explode);
        keepIfSame(common.countAtLeast, rules.countAtLeast);
    }
    return common;
}

bool CDocState::GetSelectedText(QString& text, CRect& rect) const {
    const auto selected = GetSelectedEntities();
    const auto* painter =
        selected.empty() ? nullptr : dynamic_cast<const CTextPainter*>(selected.front());
    if (!painter)
        return false;
    text = painter->GetText();
    rect = painter->GetBoundingRect();
    return true;
}

QSet<QString> CDocState::GetSelectedColors() const {
    QSet<QString> colours;
    for (const CDiceGroupPainter* group : GetSelectedGroups())
        group->CollectColors(colours);
    return colours;
}

QList<int> CDocState::GetSelectedSideCounts() const {
    QList<int> sides;
    for (const CDiceGroupPainter* group : GetSelectedGroups())
        for (const auto& die : group->Dice())
            if (!sides.contains(die->GetSideCount()))
                sides.append(die->GetSideCount());
    return sides;
}

bool CDocState::IsOnTitle(QPoint point, CRect& rect) const {
    const CDiceGroupPainter* group = GroupAt(point);
    if (!group)
        return false;
    rect = group->GetTitleRect();
    rect.right = group->GetBoundingRect().right;
    return rect.Contains(point);
}

bool CDocState::IsOnModifierBox(QPoint point, CRect& rect) const {
    const CDiceGroupPainter* group = GroupAt(point);
    if (!group)
        return false;
    rect = group->GetModifierBox();
    return rect.Contains(point);
}

bool CDocState::IntersectsAny(const CRect& rect) const {
    return std::any_of(entities.begin(), entities.end(),
                       [&](const auto& e) { return e->GetBoundingRect().Intersects(rect); });
}

CRect CDocState::GetExtent() const {
    CRect extent;
    for (const auto& entity : entities)
        extent = extent.Join(entity->GetBoundingRect());
    return extent;
}

QPoint CDocState::Normalize() {
    const CRect extent = GetExtent();
    const int dx = extent.left < 0 ? -extent.left : 0;
    const int dy = extent.top < 0 ? -extent.top : 0;
    if (dx > 0 || dy > 0)
        for (const auto& entity : entities)
            entity->Offset(dx, dy);
    return QPoint(dx, dy);
}

void CDocState::ArrangeInRows(int viewWidth) {
    // 64-bit: rows of very tall groups may add up past the int range; each
    // entity then stops at the edge of the position range.
    long long x = 10, y = 10, nextRow = 10;
    bool first = true;
    for (const auto& entity : entities) {
        const CRect bounds = entity->GetBoundingRect();
        if (!first && x + bounds.Width() + 10 > viewWidth) {
            x = 10;
            y = nextRow;
        }
        first = false;
        entity->Offset(SaturatedInt(x - bounds.left), SaturatedInt(y - bounds.top));
        x += bounds.Width() + 20;
        nextRow = std::max(nextRow, y + bounds.Height() + 10);
    }
}

void CDocState::DrawRubberBand(QPainter& dc, const CRect& rect, bool toggle) const {
    DrawFrame(dc, rect, dc.pen().color(), Qt::DotLine);
    for (const auto& entity : entities) {
        if (!rect.Contains(entity->GetCenter()))
            continue;
        if (!entity->IsSelected())
            DrawFrame(dc, entity->GetBoundingRect(), kGreen, Qt::SolidLine);
        else if (toggle)
            DrawFrame(dc, entity->GetBoundingRect(), kRed, Qt::SolidLine);
    }
}

void CDocState::DrawMoving(QPainter& dc, QPoint start, QPoint& point) const {
    const auto selected = GetSelectedEntities();
    const CDiceGroupPainter* target = GroupAt(point);
    const bool allGroups = std::all_of(selected.begin(), selected.end(), [](const CDocEntity* e) {
        return dynamic_cast<const CDiceGroupPainter*>(e) != nullptr;
    });
    if (target && !target->IsSelected() && allGroups) {
        // Dropping here merges into that group.
        DrawFrame(dc, target->GetBoundingRect(), kGreen, Qt::SolidLine);
    } else if (!selected.empty()) {
        CRect moving = selected.front()->GetBodyRect();
        for (const CDocEntity* entity : selected)
            moving = moving.Join(entity->GetBodyRect());
        const QPoint shift = point - start;
        Snap(dc, moving.Offset(shift.x(), shift.y()), point);
    }
    const QPoint shift = point - start;
    for (const CDocEntity* entity : selected)
        entity->DrawDragImage(dc, shift.x(), shift.y());
}

void CDocState::DrawNewDie(QPainter& dc, int sideCount, QPoint& point) const {
    const CDiceGroupPainter* target = GroupAt(point);
    if (target)
        DrawFrame(dc, target->GetBoundingRect(), kGreen, Qt::SolidLine);
    if (!HasShapeClass(sideCount))
        return;
    const std::unique_ptr<CDiePainter> die = MakeDiePainter(sideCount, 0, 0, 1);
    if (!target)
        Snap(dc, die->GetBoundingRect().Offset(point.x(), point.y()), point);
    die->DrawOutline(dc, point.x(), point.y());
}

void CDocState::Snap(QPainter& dc, CRect moving, QPoint& point) const {
    int bestX = kSnapDistance, bestY = kSnapDistance;
    std::optional<QPoint> matchX, matchY;
    for (const auto& entity : entities) {
        const CRect body = entity->GetBodyRect();
        if (std::abs(moving.left - body.left) < std::abs(bestX)) {
            matchX = body.TopLeft();
            bestX = body.left - moving.left;
        }
        if (std::abs(moving.top - body.top) < std::abs(bestY)) {
            matchY = body.TopLeft();
            bestY = body.top - moving.top;
        }
    }
    if (matchX) {
        moving = moving.Offset(bestX, 0);
        point.rx() += bestX;
    }
    if (matchY) {
        moving = moving.Offset(0, bestY);
        point.ry() += bestY;
    }
    if (!matchX && !matchY)
        return;
    for (const auto& match : {matchX, matchY})
        if (match)
            DrawTrayLine(dc, moving.TopLeft(), *match, Highlight(), Qt::DotLine);
}

} // namespace rp
