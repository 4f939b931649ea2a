#include "dice_group_painter.h"

#include "die_shapes.h"
#include "labels.h"
#include "stamps.h"
#include "strokes.h"
#include "text_metrics.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <functional>

namespace rp {

namespace {

QString TotalText(int total) {
    return QStringLiteral("= %1").arg(total);
}

// The total sits right-aligned under the body.
CRect TotalRect(const CRect& body, QSize extent) {
    return CRect{body.right - extent.width(), body.bottom, body.right,
                 body.bottom + extent.height()};
}

// The frame of a die that counts as a success, darker than the green of
// drop targets.
const QColor kCountedColour(0, 160, 0);
// The mark of a die that exploded: a filled corner this many units wide.
constexpr int kExplodedMarkSize = 8;

// A small orange triangle in the top right corner of an exploded die.
void DrawExplodedMark(QPainter& dc, const CRect& die) {
    const QPointF corner[] = {QPointF(die.right - kExplodedMarkSize, die.top),
                              QPointF(die.right, die.top),
                              QPointF(die.right, die.top + kExplodedMarkSize)};
    const QPen pen = dc.pen();
    const QBrush brush = dc.brush();
    dc.setPen(Qt::NoPen);
    dc.setBrush(QColor(230, 120, 0));
    dc.drawPolygon(corner, 3);
    dc.setPen(pen);
    dc.setBrush(brush);
}

constexpr int kModifierBoxWidth = 14;
constexpr int kModifierBoxHeight = 21;

} // namespace

CDiceGroupPainter::CDiceGroupPainter(const CDiceGroupPainter& other)
    : CDiceGroup(), CDocEntity(other) {
    SetTitle(other.GetTitle());
    SetModifier(other.GetModifier());
    SetMultiplier(other.GetMultiplierText());
    SetRules(other.GetRules());
    for (std::size_t i = 0; i < other.Dice().size(); ++i)
        AddDieBack(other.PainterAt(i).Clone());
}

std::unique_ptr<CDie> CDiceGroupPainter::CreateDie(int sideCount) {
    std::unique_ptr<CDiePainter> die = MakeDiePainter(sideCount, 0, 0, 0);
    die->SetColor(kDefaultDieColor);
    return die;
}

CDiePainter& CDiceGroupPainter::PainterAt(std::size_t index) const {
    // Every way a die gets into this group makes it a die painter.
    return static_cast<CDiePainter&>(*Dice()[index]);
}

CDiePainter* CDiceGroupPainter::AddNewDie(int sideCount, const QString& colour, int x, int y) {
    std::unique_ptr<CDie> made = CreateDie(sideCount);
    auto* die = static_cast<CDiePainter*>(made.get());
    die->SetPosition(x, y);
    die->SetColor(colour.isEmpty() ? kDefaultDieColor : colour);
    AddDieFront(std::move(made));
    return die;
}

void CDiceGroupPainter::AddDie(std::unique_ptr<CDiePainter> die) {
    if (die)
        AddDieFront(std::move(die));
}

std::unique_ptr<CDiePainter> CDiceGroupPainter::RemoveFirstPainter() {
    return std::unique_ptr<CDiePainter>(static_cast<CDiePainter*>(RemoveFirstDie().release()));
}

void CDiceGroupPainter::SetDiceColor(const QString& colour) {
    for (std::size_t i = 0; i < Dice().size(); ++i)
        PainterAt(i).SetColor(colour);
}

void CDiceGroupPainter::CollectColors(QSet<QString>& colours) const {
    for (std::size_t i = 0; i < Dice().size(); ++i)
        colours.insert(PainterAt(i).GetColor());
}

void CDiceGroupPainter::Offset(int dx, int dy) {
    for (std::size_t i = 0; i < Dice().size(); ++i)
        PainterAt(i).Offset(dx, dy);
}

CRect CDiceGroupPainter::GetBodyRect() const {
    if (Dice().empty())
        return {};
    CRect body = PainterAt(0).GetBoundingRect();
    for (std::size_t i = 1; i < Dice().size(); ++i)
        body = body.Join(PainterAt(i).GetBoundingRect());
    return body;
}

CRect CDiceGroupPainter::TitleRectFor(const CRect& body, QSize extent) const {
    const int height = std::max(extent.height(), kMinTitleHeight);
    return CRect{body.left, body.top - height, std::max(body.right, body.left + extent.width() + 4),
                 body.top};
}

CRect CDiceGroupPainter::GetTitleRect() const {
    return TitleRectFor(GetBodyRect(), MeasureClientText(QString::fromStdString(GetTitle())));
}

bool CDiceGroupPainter::ShowsTotal() const {
    return GetModifier() != 0 || !GetMultiplier().IsOne() || GetIgnoreCount() != 0 || HasRules() ||
           GetCount() > 1 || (GetCount() == 1 && PainterAt(0).HasLabels());
}

CRect CDiceGroupPainter::GetBoundingRect() const {
    const CRect body = GetBodyRect();
    CRect bounds = JoinLabels(body, GetModifier(), GetMultiplier()).Join(GetTitleRect());
    // Room for a two-digit total, whatever the total is.
    if (ShowsTotal())
        bounds = bounds.Join(TotalRect(body, MeasureClientText(TotalText(99))));
    return bounds;
}

CRect CDiceGroupPainter::GetModifierBox() const {
    const int left = GetBoundingRect().right;
    const int top = GetBodyRect().top;
    return CRect{left, top, left + kModifierBoxWidth, top + kModifierBoxHeight};
}

const CDiePainter* CDiceGroupPainter::DieAt(QPoint point) const {
    // The first die is drawn last, on top.
    for (std::size_t i = 0; i < Dice().size(); ++i)
        if (PainterAt(i).GetRect().Contains(point))
            return &PainterAt(i);
    return nullptr;
}

bool CDiceGroupPainter::HitTest(QPoint point) const {
    return GetBoundingRect().Contains(point) || GetModifierBox().Contains(point);
}

void CDiceGroupPainter::Draw(QPainter& dc) const {
    if (Dice().empty())
        return;
    for (std::size_t i = Dice().size(); i-- > 0;)
        PainterAt(i).Draw(dc);

    const CRect body = GetBodyRect();
    const QString title = QString::fromStdString(GetTitle());
    const CRect titleRect = TitleRectFor(body, MeasureClientText(title));
    DrawPlainText(dc, titleRect.Offset(2, 0), title);

    DrawLabels(dc, body, GetModifier(), GetMultiplier());

    std::vector<const CDie*> ignored;
    GetIgnoredDice(ignored);
    if (!ignored.empty()) {
        const QPen red = TrayPen(QColor(255, 0, 0));
        for (const CDie* die : ignored) {
            const CRect r = static_cast<const CDiePainter*>(die)->GetRect();
            DrawStrokeStamp(dc, r.ToQRect(), EStrokeKind::Cross, 0, red, [&](QPainter& p) {
                const CLinesOnPixels onPixels(p);
                p.drawLine(r.left, r.top, r.right - 1, r.bottom - 1);
                p.drawLine(r.right, r.top, r.left + 1, r.bottom - 1);
            });
        }
    }
    // Sorted, so that each die is looked up in log n.
    std::sort(ignored.begin(), ignored.end(), std::less<>());
    for (std::size_t i = 0; i < Dice().size(); ++i) {
        const CDiePainter& die = PainterAt(i);
        // In a counting group, the kept dice that count are framed, inside
        // the die so that the group's frame leaves it whole.
        if (GetCountAtLeast() > 0 && die.GetValue() >= GetCountAtLeast() &&
            !std::binary_search(ignored.begin(), ignored.end(), static_cast<const CDie*>(&die),
                                std::less<>()))
            DrawFrame(dc, die.GetRect().Inflate(-1), kCountedColour, Qt::SolidLine);
        if (!die.GetRolls().empty())
            DrawExplodedMark(dc, die.GetRect());
    }

    if (ShowsTotal()) {
        const QString total = TotalText(GetTotal());
        DrawPlainText(dc, TotalRect(body, MeasureClientText(total)), total);
    }

    const QPalette palette = QGuiApplication::palette();
    if (GetCount() > 1)
        DrawFrame(dc, body, palette.color(QPalette::Button), Qt::SolidLine);
    if (IsSelected()) {
        const QColor highlight = palette.color(QPalette::Highlight);
        DrawFrame(dc, GetBoundingRect(), highlight, Qt::DotLine);
        DrawFrame(dc, GetModifierBox(), highlight, Qt::DotLine);
        DrawFrame(dc, titleRect, highlight, Qt::DotLine);
    }
}

void CDiceGroupPainter::DrawDragImage(QPainter& dc, int dx, int dy) const {
    for (std::size_t i = 0; i < Dice().size(); ++i)
        PainterAt(i).DrawOutline(dc, dx, dy);
    if (GetCount() > 1 && (dx != 0 || dy != 0))
        DrawFrame(dc, GetBoundingRect().Offset(dx, dy), Qt::black, Qt::DotLine);
}

pugi::xml_node CDiceGroupPainter::Save(pugi::xml_node parent, bool writeRawResult) const {
    return SaveElement(parent, writeRawResult);
}

std::unique_ptr<CDocEntity> CDiceGroupPainter::Clone() const {
    return std::make_unique<CDiceGroupPainter>(*this);
}

} // namespace rp
