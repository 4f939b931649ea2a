// The tray view's mouse and keyboard: clicks and rubber bands select, a
// press on the selection drags it, a pending die is dropped, a click on a
// title or a modifier box opens its editor.
#include "table_doc.h"
#include "table_view.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <utility>

namespace rp {

namespace {
bool Held(Qt::KeyboardModifiers modifiers, Qt::KeyboardModifier key) {
    return modifiers.testFlag(key);
}
} // namespace

void CTableView::mousePressEvent(QMouseEvent* event) {
    // A left press finds the last one's release unseen; another button
    // interrupts the gesture. Either way it ends without a step.
    EndMouseGesture();
    keyMoveStateId = 0;
    const QPoint point = ToTray(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        LeftButtonDown(point, event->modifiers());
    else if (event->button() == Qt::RightButton)
        RightButtonDown(point, event->modifiers());
}

void CTableView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        LeftButtonUp(ToTray(event->position().toPoint()), event->modifiers());
    // A die brought in with the right button opens the "Bag" where it is
    // released, unless a menu has just been shown for it.
    else if (event->button() == Qt::RightButton && pendingDie != 0 && !clearPendingDie)
        ShowContextMenu(event->position().toPoint());
}

void CTableView::mouseDoubleClickEvent(QMouseEvent* event) {
    // The first press has selected already; the second one only rolls.
    if (event->button() == Qt::LeftButton)
        RollOrEditText();
}

void CTableView::mouseMoveEvent(QMouseEvent* event) {
    if (clearPendingDie) {
        pendingDie = 0;
        clearPendingDie = false;
        viewport()->update();
    }
    // The release went elsewhere (a popup, another window): no step.
    if (!event->buttons().testFlag(Qt::LeftButton))
        EndMouseGesture();
    const QPoint at = event->position().toPoint();
    currentPoint = ToTray(at);
    if (!InGesture())
        return;
    if (dragAnchor && !moved) {
        const QPoint d = currentPoint - *dragAnchor;
        const qint64 squared = qint64(d.x()) * d.x() + qint64(d.y()) * d.y();
        moved = squared > qint64(kDragDistance) * kDragDistance;
    }
    AutoScroll(at);
    viewport()->repaint();
}

void CTableView::LeftButtonDown(QPoint point, Qt::KeyboardModifiers modifiers) {
    if (InGesture() || textPlacement)
        return;
    setFocus(); // an editor that had it commits itself
    CDocState& state = document->GetCurrentState();
    const int hit = state.SelectAt(point, Held(modifiers, Qt::ShiftModifier),
                                   Held(modifiers, Qt::ControlModifier));
    if (hit == 0) {
        rubberBandAnchor = point;
    } else if (hit == 1) {
        dragAnchor = point;
        moved = false;
        gestureSelection = SelectedNow();
    }
    currentPoint = point;
    document->UpdateAllViews();
}

void CTableView::LeftButtonUp(QPoint point, Qt::KeyboardModifiers modifiers) {
    const bool plain = !Held(modifiers, Qt::ShiftModifier) && !Held(modifiers, Qt::ControlModifier);
    if (const std::optional<QPoint> anchor = std::exchange(dragAnchor, std::nullopt)) {
        if (std::exchange(moved, false)) {
            // The current point carries the snapping; the edit scrolls by its
            // shift. With nothing selected there is nothing to move.
            if (document->GetCurrentState().GetSelectedCount() > 0)
                ApplyEdit(
                    [&](CDocState& state) { return state.MoveSelected(*anchor, currentPoint); });
        } else if (plain) {
            // A click on one of several selected entities keeps only that one.
            CDocState& state = document->GetCurrentState();
            state.SelectNone();
            state.SelectAt(point, false, false);
            document->UpdateAllViews();
            // Editors open only on a group's own title or box, not on a text lying over it.
            const CDocEntity* group = state.GroupAt(point);
            CRect rect;
            if (group && group == state.EntityAt(point)) {
                if (state.IsOnTitle(point, rect)) {
                    QString title;
                    state.GetCommonProperties(&title, nullptr, nullptr);
                    OpenTitleEditor(rect, title, TitleUse::GroupTitle);
                } else if (state.IsOnModifierBox(point, rect)) {
                    int modifier = 0;
                    state.GetCommonProperties(nullptr, &modifier, nullptr);
                    OpenModifierEditor(rect, modifier);
                }
            }
        }
    }
    if (const std::optional<QPoint> anchor = std::exchange(rubberBandAnchor, std::nullopt)) {
        currentPoint = point;
        document->GetCurrentState().SelectInRect(
            CRect{anchor->x(), anchor->y(), point.x(), point.y()}.Normalized(),
            Held(modifiers, Qt::ControlModifier));
        document->UpdateAllViews();
    }
    if (pendingDie != 0) {
        // Released outside the view, the die stays pending.
        const QPoint corner = ToTray({0, 0});
        if (CRect::FromPointSize(corner.x(), corner.y(), viewport()->width(), viewport()->height())
                .Contains(currentPoint))
            AddDiceAtPoint(currentPoint, 1);
        setFocus(); // this view becomes the active one
    }
    if (textPlacement) {
        EndTextPlacement();
        EditNewText(point);
    }
    UpdateScrollSizes();
    viewport()->update();
}

void CTableView::RightButtonDown(QPoint point, Qt::KeyboardModifiers modifiers) {
    setFocus();
    currentPoint = point;
    document->GetCurrentState().SelectAt(point, Held(modifiers, Qt::ShiftModifier),
                                         Held(modifiers, Qt::ControlModifier));
    document->UpdateAllViews();
}

void CTableView::keyPressEvent(QKeyEvent* event) {
    if (NavigateByKey(*event))
        return;
    switch (event->key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
        // The rubber band's preview depends on Ctrl.
        if (rubberBandAnchor)
            viewport()->update();
        break;
    case Qt::Key_Space:
        RollOrEditText();
        break;
    case Qt::Key_Delete:
        DeleteSelected();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Enter();
        break;
    case Qt::Key_Escape:
        CancelGesture();
        break;
    case Qt::Key_F10:
        if (event->modifiers() == Qt::ShiftModifier) {
            QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(), QCursor::pos());
            contextMenuEvent(&request);
            break;
        }
        [[fallthrough]];
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void CTableView::keyReleaseEvent(QKeyEvent* event) {
    // Letting Alt go ends a run of moves by keys.
    if (event->key() == Qt::Key_Alt)
        keyMoveStateId = 0;
    if ((event->key() == Qt::Key_Shift || event->key() == Qt::Key_Control) && rubberBandAnchor)
        viewport()->update();
    QAbstractScrollArea::keyReleaseEvent(event);
}

} // namespace rp
