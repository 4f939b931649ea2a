#pragma once

#include "dice_group.h"
#include "die_painter.h"
#include "doc_entity.h"

#include <QSet>
#include <QString>

namespace rp {

// A dice group lying on a tray: its dice where they are, its title above,
// its labels beside, its total below, a frame around several dice, a red
// cross over each ignored die and its selection marks.
class CDiceGroupPainter : public CDiceGroup, public CDocEntity {
public:
    // The height a title takes at least.
    static constexpr int kMinTitleHeight = 18;

    CDiceGroupPainter() = default;
    // A deep copy: selection, title, modifier, multiplier, ignore count,
    // rules and every die with its rolls (sharing their pictures).
    CDiceGroupPainter(const CDiceGroupPainter& other);

    // Drawable dice of the class the side count calls for, in the default colour.
    std::unique_ptr<CDie> CreateDie(int sideCount) override;

    bool HitTest(QPoint point) const override;
    void Draw(QPainter& dc) const override;
    void DrawDragImage(QPainter& dc, int dx, int dy) const override;
    void Offset(int dx, int dy) override;
    CRect GetBoundingRect() const override;
    CRect GetBodyRect() const override;
    pugi::xml_node Save(pugi::xml_node parent, bool writeRawResult) const override;
    bool Load(pugi::xml_node element) override { return CDiceGroup::Load(element); }
    std::unique_ptr<CDocEntity> Clone() const override;

    // Makes a die, places it and puts it on top of the group's dice.
    CDiePainter* AddNewDie(int sideCount, const QString& colour, int x, int y);
    // Puts a die on top of the group's dice; the group owns it.
    void AddDie(std::unique_ptr<CDiePainter> die);
    std::unique_ptr<CDiePainter> RemoveFirstPainter();
    // The topmost die whose rectangle holds the point, if any.
    const CDiePainter* DieAt(QPoint point) const;
    // The die at a place in the list (every die of this group is drawable).
    CDiePainter& PainterAt(std::size_t index) const;

    void SetDiceColor(const QString& colour);
    void CollectColors(QSet<QString>& colours) const;

    // Above the body, as high as the title but at least 18 units.
    CRect GetTitleRect() const;
    // The small box right of the group that opens the modifier editor.
    CRect GetModifierBox() const;
    // Whether the group writes its total: not for a lone die without labels
    // or rules.
    bool ShowsTotal() const;

private:
    CRect TitleRectFor(const CRect& body, QSize titleExtent) const;
};

} // namespace rp
