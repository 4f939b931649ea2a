#pragma once

#include "dice_group_painter.h"
#include "doc_entity.h"

#include <QList>
#include <QSet>
#include <QString>
#include <memory>
#include <vector>

class QPainter;

namespace rp {

// One complete state of a tray: its entities, front (top) first, with the
// services the view and the edits use over them: drawing, hit testing,
// selection, extent, arrangement and the drag feedback with snapping.
class CDocState {
public:
    using EntityList = std::vector<std::unique_ptr<CDocEntity>>;

    // Neighbours closer than this (in units) attract a dragged body.
    static constexpr int kSnapDistance = 10;

    CDocState() = default;
    // A deep copy of every entity, selection included.
    CDocState(const CDocState& other);
    CDocState& operator=(const CDocState&) = delete;

    const EntityList& Entities() const { return entities; }
    void AddFront(std::unique_ptr<CDocEntity> entity);
    void AddBack(std::unique_ptr<CDocEntity> entity);

    // Draws every entity, back to front.
    void DrawAll(QPainter& dc) const;
    // The topmost entity (or dice group) under a point.
    CDocEntity* EntityAt(QPoint point) const;
    CDiceGroupPainter* GroupAt(QPoint point) const;

    // A click: 0 when nothing was hit, 1 when the entity hit is now
    // selected, 2 when it is not. `extend` is Shift, `toggle` Ctrl.
    int SelectAt(QPoint point, bool extend, bool toggle);
    // Selects the entities whose centre lies in the rectangle; with toggle,
    // selected ones there are deselected.
    void SelectInRect(const CRect& rect, bool toggle);
    void SelectAll();
    void SelectNone();
    void InvertSelection();

    std::vector<CDocEntity*> GetSelectedEntities() const;
    std::vector<CDiceGroupPainter*> GetSelectedGroups() const;
    int GetSelectedCount() const;
    int GetSelectedGroupCount() const;
    int GetSelectedDiceCount() const;
    // The ignore count of the frontmost selected group (one must be selected).
    int GetFirstIgnoreCount() const;
    // What the selected groups share: a differing title or multiplier reads
    // empty, a differing modifier 0. Each output may be null.
    void GetCommonProperties(QString* title, int* modifier, QString* multiplier) const;
    // Text and rectangle of the frontmost selected entity, when it is a text.
    bool GetSelectedText(QString& text, CRect& rect) const;
    QSet<QString> GetSelectedColors() const;
    // Distinct side counts of the selected dice, in order of first appearance.
    QList<int> GetSelectedSideCounts() const;

    // Whether the point lies on the title (or the modifier box) of the group
    // under it; the rectangle is handed out for the in-place editor.
    bool IsOnTitle(QPoint point, CRect& rect) const;
    bool IsOnModifierBox(QPoint point, CRect& rect) const;
    bool IntersectsAny(const CRect& rect) const;

    // The bounding rectangles of all entities joined with the origin.
    CRect GetExtent() const;
    // Moves everything into positive coordinates; returns the shift.
    QPoint Normalize();
    // Lays the entities out in rows from (10, 10) within a view this wide.
    void ArrangeInRows(int viewWidth);

    // Drag feedback, each after DrawAll. `point` is corrected by snapping.
    void DrawRubberBand(QPainter& dc, const CRect& rect, bool toggle) const;
    void DrawMoving(QPainter& dc, QPoint start, QPoint& point) const;
    void DrawNewDie(QPainter& dc, int sideCount, QPoint& point) const;

private:
    // Aligns the body that would land at `moving` with neighbours' left and
    // top edges, correcting `point` by as much, and draws the guide lines.
    void Snap(QPainter& dc, CRect moving, QPoint& point) const;

    EntityList entities;
};

} // namespace rp
