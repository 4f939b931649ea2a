#pragma once

#include "colour.h"
#include "dice_group_painter.h"
#include "doc_entity.h"
#include "tray_host.h"

#include <QList>
#include <QSet>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class QPainter;

namespace rp {

// The rules of the selected groups as the properties dialog shows and edits
// them: each the value every selected group has (or is to get), or absent.
struct SRuleFields {
    std::optional<int> ignoreLowest;
    std::optional<int> ignoreHighest;
    std::optional<int> rerollBelow;
    std::optional<bool> explode;
    std::optional<int> countAtLeast;
    bool operator==(const SRuleFields&) const = default;
};

// One complete state of a tray: its entities, front (top) first, its
// background colour and the label of the edit that made it, with the
// services the view and the edits use over them: drawing, hit testing,
// selection, extent, arrangement, drag feedback with snapping, the edit
// operations, reading and writing tray XML and the clipboard.
class CDocState {
public:
    using EntityList = std::vector<std::unique_ptr<CDocEntity>>;

    // Neighbours closer than this (in units) attract a dragged body.
    static constexpr int kSnapDistance = 10;
    // A roll animates at most this long, whatever delay is stored.
    static constexpr int kMaxRollDelayMs = 5000;

    explicit CDocState(ITrayHost* host = nullptr);
    // A deep copy of every entity, selection included, with an empty label.
    CDocState(const CDocState& other);
    CDocState& operator=(const CDocState&) = delete;

    // Tells states apart for the whole run: a copy gets a new identity.
    std::uint64_t Id() const { return id; }

    const QString& GetLabel() const { return label; }
    void SetLabel(const QString& text) { label = text; }
    // The colour the tray is drawn in: white stands for the window colour.
    QColor GetBackgroundColor() const;
    ColorValue GetBackgroundValue() const { return background; }

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
    // The entities as a reader meets them: by the top edge of the bounding
    // rectangle, then the left edge, then front before back.
    std::vector<CDocEntity*> InReadingOrder() const;
    // The entity with this id (see CDocEntity::GetId), or null.
    CDocEntity* EntityById(std::uint64_t id) const;
    std::vector<CDiceGroupPainter*> GetSelectedGroups() const;
    int GetSelectedCount() const;
    int GetSelectedGroupCount() const;
    int GetSelectedDiceCount() const;
    // The ignore counts, lowest and highest, of the frontmost selected group
    // (one must be selected).
    int GetFirstIgnoreCount() const;
    int GetFirstIgnoreHighestCount() const;
    // What the selected groups share: a differing title or multiplier reads
    // empty, a differing modifier 0. Each output may be null.
    void GetCommonProperties(QString* title, int* modifier, QString* multiplier) const;
    // The rules the selected groups share; those that differ are absent.
    SRuleFields GetCommonRules() const;
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

    // Edits, each labelling the state (see doc_state_edit.cpp).
    QPoint AddDice(int sideCount, const std::vector<QPoint>& positions,
                   std::optional<QPoint> dropPoint);
    void AddText(const QString& text, int x, int y);
    void EditText(const QString& text);
    void DeleteSelected();
    QPoint MoveSelected(QPoint start, QPoint end);
    // Moves the selection by a plain offset: no snapping, no merging.
    QPoint OffsetSelected(QPoint delta);
    // Empties the selected groups' titles (and the modifiers of groups of
    // several dice), returning the distinct titles joined by " / " and the
    // modifiers' sum.
    void CollectTitlesAndModifiers(QString& title, int& sum);
    void GroupSelected();
    void UngroupSelected();
    void IncrementModifiers();
    void DecrementModifiers();
    void SetTitles(const QString& title);
    void SetModifiers(int value);
    void SetIgnoreCounts(int value);
    void SetIgnoreHighestCounts(int value);
    void SetColors(const QString& colour);
    // Sets each given property, and each given rule, on every selected group.
    void SetProperties(const std::optional<QString>& title, std::optional<int> modifier,
                       const std::optional<QString>& multiplier, const SRuleFields& rules = {});
    int RollSelected();
    // Plays the sound, then rolls and repaints until the roll delay has passed.
    int RollGroups(const std::vector<CDiceGroupPainter*>& groups);
    void SetBackgroundColor(ColorValue colour);

    // Tray XML (see doc_state_xml.cpp).
    QByteArray WriteTrayXml(bool writeRawResult, bool selectedOnly, bool withBackground) const;
    // Adds the entities a tray text describes (or its lines of notation).
    // False when dice had to be left out: one read makes at most 100,000.
    bool ReadTrayXml(std::string_view text, bool pasted, bool readBackground);

    // The clipboard (see doc_state_clipboard.cpp). `complete`, when given,
    // is set false when the paste had to leave dice out.
    void Copy() const;
    void Cut();
    QPoint Paste(std::optional<QPoint> point, bool* complete = nullptr);
    // Paste of a given text, as Paste does with the clipboard's.
    QPoint PasteText(std::string_view text, std::optional<QPoint> point, bool* complete = nullptr);

private:
    // Aligns the body that would land at `moving` with neighbours' left and
    // top edges, correcting `point` by as much, and draws the guide lines.
    void Snap(QPainter& dc, CRect moving, QPoint& point) const;

    void ModifySelected(int delta, const QString& doneLabel);
    bool ReadTrayContent(std::string_view text, bool pasted, bool readBackground);
    void ReadPlainLines(std::string_view text, bool pasted, CDiceBudget& budget);
    void ReadEntity(pugi::xml_node node, bool pasted, CDiceBudget& budget);
    void ReadGroupElement(pugi::xml_node element, bool pasted, CDiceBudget& budget);
    void ReadNotation(const QString& title, std::string_view notation, int yOffset, bool pasted,
                      CDiceBudget& budget);
    void AddRead(std::unique_ptr<CDocEntity> entity, bool pasted);

    std::uint64_t id;
    ITrayHost* host;
    QString label;
    EntityList entities;
    ColorValue background = kWhite;
};

} // namespace rp
