// The tray by keyboard: a focused entity, moved through in reading order
// or by direction, selection by keys, moving the selection by keys, and
// what assistive technology is told of it.
#include "dice_group_painter.h"
#include "strokes.h"
#include "table_doc.h"
#include "table_view.h"
#include "tray_accessible.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPalette>
#include <cstdlib>
#include <limits>

namespace rp {

namespace {

// Alt+arrows move the selection this far, Alt+Shift+arrows one unit.
constexpr int kKeyMoveStep = 10;

QPoint Direction(int key) {
    switch (key) {
    case Qt::Key_Left:
        return {-1, 0};
    case Qt::Key_Right:
        return {1, 0};
    case Qt::Key_Up:
        return {0, -1};
    case Qt::Key_Down:
        return {0, 1};
    default:
        return {};
    }
}

} // namespace

std::uint64_t CTableView::FocusedEntityId() const {
    return focusedId != 0 && document->GetCurrentState().EntityById(focusedId) ? focusedId : 0;
}

void CTableView::FocusEntity(std::uint64_t id, FocusSelection selection) {
    CDocState& state = document->GetCurrentState();
    CDocEntity* entity = state.EntityById(id);
    if (!entity)
        return;
    focusedId = id;
    if (selection == FocusSelection::Only) {
        state.SelectNone();
        entity->SetSelected(true);
    } else if (selection == FocusSelection::Extend) {
        entity->SetSelected(true);
    }
    ScrollIntoView(entity->GetBoundingRect());
    document->UpdateAllViews();
    TellAccessibleFocus();
}

void CTableView::RollEntity(std::uint64_t id) {
    FocusEntity(id, FocusSelection::Only);
    RollAndShowTotal();
}

void CTableView::EditEntity(std::uint64_t id) {
    FocusEntity(id, FocusSelection::Only);
    const CDocState& state = document->GetCurrentState();
    const auto* group = dynamic_cast<const CDiceGroupPainter*>(state.EntityById(id));
    if (!group) {
        EditSelectedText();
        return;
    }
    CRect rect = group->GetTitleRect();
    rect.right = group->GetBoundingRect().right;
    OpenTitleEditor(rect, QString::fromStdString(group->GetTitle()), TitleUse::GroupTitle);
}

bool CTableView::focusNextPrevChild(bool next) {
    // Tab walks the entities while the view itself has the focus; past
    // either end it leaves the view.
    if (hasFocus()) {
        const auto order = document->GetCurrentState().InReadingOrder();
        const std::uint64_t current = FocusedEntityId();
        std::ptrdiff_t at = -1;
        for (std::size_t i = 0; i < order.size(); ++i)
            if (order[i]->GetId() == current)
                at = static_cast<std::ptrdiff_t>(i);
        const std::ptrdiff_t to = at < 0
                                      ? (next ? 0 : static_cast<std::ptrdiff_t>(order.size()) - 1)
                                      : at + (next ? 1 : -1);
        if (to >= 0 && to < static_cast<std::ptrdiff_t>(order.size())) {
            FocusEntity(order[static_cast<std::size_t>(to)]->GetId(), FocusSelection::Only);
            return true;
        }
    }
    return QAbstractScrollArea::focusNextPrevChild(next);
}

bool CTableView::NavigateByKey(const QKeyEvent& event) {
    const Qt::KeyboardModifiers mods =
        event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const QPoint direction = Direction(event.key());
    if (!direction.isNull() && mods.testFlag(Qt::AltModifier) &&
        !mods.testFlag(Qt::ControlModifier)) {
        MoveSelectionByKeys(direction * (mods.testFlag(Qt::ShiftModifier) ? 1 : kKeyMoveStep));
        return true;
    }
    if (mods.testFlag(Qt::AltModifier))
        return false;
    const FocusSelection selection = mods.testFlag(Qt::ControlModifier) ? FocusSelection::Keep
                                     : mods.testFlag(Qt::ShiftModifier) ? FocusSelection::Extend
                                                                        : FocusSelection::Only;
    const auto order = document->GetCurrentState().InReadingOrder();
    if (order.empty())
        return event.key() == Qt::Key_Home || event.key() == Qt::Key_End || !direction.isNull();
    if (event.key() == Qt::Key_Home || event.key() == Qt::Key_End) {
        FocusEntity((event.key() == Qt::Key_Home ? order.front() : order.back())->GetId(),
                    selection);
        return true;
    }
    if (event.key() == Qt::Key_Space && mods == Qt::ControlModifier) {
        if (CDocEntity* entity = document->GetCurrentState().EntityById(FocusedEntityId())) {
            entity->SetSelected(!entity->IsSelected());
            document->UpdateAllViews();
        }
        return true;
    }
    if (direction.isNull())
        return false;
    const CDocEntity* from = document->GetCurrentState().EntityById(FocusedEntityId());
    if (!from) {
        FocusEntity(order.front()->GetId(), selection);
        return true;
    }
    // The nearest centre lying that way, a step aside counting double.
    const QPoint centre = from->GetCenter();
    const CDocEntity* best = nullptr;
    long long bestScore = std::numeric_limits<long long>::max();
    for (const CDocEntity* entity : order) {
        const QPoint d = entity->GetCenter() - centre;
        const long long ahead = static_cast<long long>(d.x()) * direction.x() +
                                static_cast<long long>(d.y()) * direction.y();
        const long long aside = std::llabs(static_cast<long long>(d.x()) * direction.y()) +
                                std::llabs(static_cast<long long>(d.y()) * direction.x());
        if (entity == from || ahead <= 0)
            continue;
        if (const long long score = ahead + 2 * aside; score < bestScore) {
            best = entity;
            bestScore = score;
        }
    }
    if (best)
        FocusEntity(best->GetId(), selection);
    return true;
}

void CTableView::MoveSelectionByKeys(QPoint delta) {
    CDocState& current = document->GetCurrentState();
    if (current.GetSelectedCount() == 0)
        return;
    // A run of moves while Alt is held is one step: the first pushes it,
    // the others change it, as long as nothing else came between.
    if (keyMoveStateId == current.Id() && document->IsModified()) {
        const QPoint shift = current.OffsetSelected(delta);
        UpdateScrollSizes();
        ScrollBy(shift);
        document->UpdateAllViews();
        return;
    }
    ApplyEdit([delta](CDocState& state) { return state.OffsetSelected(delta); });
    keyMoveStateId = document->GetCurrentState().Id();
}

void CTableView::DrawFocusMark(QPainter& dc) const {
    const CDocEntity* entity = document->GetCurrentState().EntityById(FocusedEntityId());
    if (!entity || !hasFocus())
        return;
    // Dots of the text colour on a line of the base colour: seen on any
    // background and in any palette.
    const CRect rect = entity->GetBoundingRect().Inflate(3);
    const QPalette colours = QGuiApplication::palette(); // as the tray's marks
    DrawFrame(dc, rect, colours.color(QPalette::Base), Qt::SolidLine);
    DrawFrame(dc, rect, colours.color(QPalette::Text), Qt::DotLine);
}

void CTableView::TellAccessibility() {
    if (accessibleTray)
        accessibleTray->Refresh();
}

void CTableView::TellAccessibleFocus() {
    if (accessibleTray && hasFocus())
        accessibleTray->NotifyFocus(FocusedEntityId());
}

} // namespace rp
