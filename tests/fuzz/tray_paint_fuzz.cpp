// A tray text is read as a file is opened (then arranged in rows when
// anything lies at negative coordinates, as the document does) and, into a
// copy of that tray, as a paste at a point. Each tray is painted as the tray
// view paints it; hit-tested and clicked at a grid of points across it and
// at the corner and centre of its frontmost entities; given the drag and
// new-die feedback at some of those points, with what the clicks selected
// and then with everything selected, and a rubber band; then arranged in
// rows and painted again.
//
// Checked:
// - painting, hit tests and feedback leave the tray as it was (it writes
//   the same text);
// - snapping corrects a point by less than the snap distance each way;
// - arranged in rows, entities lie right of and below (10, 10) and do not
//   overlap, and arranging again moves nothing. Not where the rows reach
//   past half the position range: there positions stop at its edge.
//
// Texts that could make more than fuzz::kMaxDice dice, or that make more
// entities, are passed over: each paint, hit test and feedback pass goes
// over every entity, and a run is meant to spend its time on what the text
// makes, not on how many of it there are.
#include "colour.h"
#include "doc_state.h"
#include "fuzz_support.h"
#include "fuzz_tray_app.h"
#include "random_source.h"
#include "strokes.h"
#include "text_metrics.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace rp;

// The view's client area, in tray units; also the width rows are arranged in.
constexpr int kViewWidth = 320;
constexpr int kViewHeight = 240;
// Hit tests and clicks at (kGrid + 1)^2 points across the tray and the
// view and at the corner and the centre of each of the kPointedEntities
// frontmost entities; the feedback at every kFeedbackStep-th of those points.
constexpr int kGrid = 4;
constexpr std::size_t kPointedEntities = 8;
constexpr std::size_t kFeedbackStep = 4;
// The new-die feedback cycles through every die shape and a plain die.
constexpr int kNewDieSides[] = {4, 6, 8, 10, 12, 20, 100, 7};

std::string Written(const CDocState& state) {
    const QByteArray bytes = state.WriteTrayXml(true, false, true);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

[[noreturn]] void Fail(const char* use, const char* what, std::string_view first = {},
                       std::string_view second = {}) {
    fuzz::Fail((std::string(use) + ": " + what).c_str(), first, second);
}

// Paints the tray as the tray view does, not scrolled, then hands the
// painter to `after` for the feedback drawn over it. One image serves every
// paint: a run is not meant to spend its time allocating it.
template <typename After> void Paint(const CDocState& state, After after) {
    static QImage image(kViewWidth, kViewHeight, QImage::Format_ARGB32_Premultiplied);
    const QColor colour = state.GetBackgroundColor();
    image.fill(colour);
    QPainter dc(&image);
    dc.setFont(TrayFont());
    dc.setPen(TrayPen(ContrastColor(colour)));
    dc.setBackground(colour);
    dc.setBackgroundMode(Qt::OpaqueMode);
    state.DrawAll(dc);
    after(dc);
}

std::string Describe(QPoint point) {
    return std::to_string(point.x()) + ", " + std::to_string(point.y());
}

void CheckSnap(const char* use, const char* what, QPoint given, QPoint corrected) {
    const QPoint by = corrected - given;
    if (std::abs(by.x()) >= CDocState::kSnapDistance ||
        std::abs(by.y()) >= CDocState::kSnapDistance)
        Fail(use, what, Describe(given), Describe(corrected));
}

void DrawFeedback(const char* use, const CDocState& state, const std::vector<QPoint>& points) {
    const auto selected = state.GetSelectedEntities();
    const QPoint start = selected.empty() ? QPoint() : selected.front()->GetCenter();
    Paint(state, [&](QPainter& dc) {
        for (std::size_t k = 0; k < points.size(); k += kFeedbackStep) {
            QPoint point = points[k];
            state.DrawMoving(dc, start, point);
            CheckSnap(use, "a drag snapped farther than the snap distance", points[k], point);
            point = points[k];
            state.DrawNewDie(dc, kNewDieSides[k / kFeedbackStep % std::size(kNewDieSides)], point);
            CheckSnap(use, "a new die snapped farther than the snap distance", points[k], point);
        }
        state.DrawRubberBand(dc, state.GetExtent(), false);
        state.DrawRubberBand(dc, CRect{start.x(), start.y(), kViewWidth, kViewHeight}.Normalized(),
                             true);
    });
}

// Points evenly spread over the tray and the view, row by row, corners
// included, then the top-left corner and the centre of the frontmost entities.
std::vector<QPoint> Points(const CDocState& state) {
    const CRect area = state.GetExtent().Join(CRect{0, 0, kViewWidth, kViewHeight});
    std::vector<QPoint> points;
    for (int i = 0; i <= kGrid; ++i)
        for (int j = 0; j <= kGrid; ++j)
            points.emplace_back(
                static_cast<int>(area.left + (0LL + area.right - area.left) * j / kGrid),
                static_cast<int>(area.top + (0LL + area.bottom - area.top) * i / kGrid));
    const auto& entities = state.Entities();
    for (std::size_t i = 0; i < std::min(entities.size(), kPointedEntities); ++i) {
        points.push_back(entities[i]->GetBoundingRect().TopLeft());
        points.push_back(entities[i]->GetCenter());
    }
    return points;
}

void Look(const char* use, CDocState& state) {
    const std::string before = Written(state);
    const std::vector<QPoint> points = Points(state);
    Paint(state, [](QPainter&) {});
    CRect rect;
    for (std::size_t k = 0; k < points.size(); ++k) {
        state.IsOnTitle(points[k], rect);
        state.IsOnModifierBox(points[k], rect);
        // Plain clicks, Shift-clicks and Ctrl-clicks by turns.
        state.SelectAt(points[k], k % 3 == 1, k % 3 == 2);
    }
    DrawFeedback(use, state, points);
    state.SelectAll();
    DrawFeedback(use, state, points);
    if (const std::string after = Written(state); after != before)
        Fail(use, "painting, hit tests or feedback changed the tray", before, after);
}

void ArrangeAndPaint(const char* use, CDocState& state) {
    state.ArrangeInRows(kViewWidth);
    const CRect extent = state.GetExtent();
    if (extent.right < kMaxTrayPosition / 2 && extent.bottom < kMaxTrayPosition / 2) {
        const std::string arranged = Written(state);
        std::vector<CRect> bounds;
        for (const auto& entity : state.Entities())
            bounds.push_back(entity->GetBoundingRect());
        for (std::size_t i = 0; i < bounds.size(); ++i) {
            if (bounds[i].left < 10 || bounds[i].top < 10)
                Fail(use, "an entity arranged in rows lies left of or above (10, 10)", arranged);
            for (std::size_t j = 0; j < i; ++j)
                if (bounds[i].Intersects(bounds[j]))
                    Fail(use, "entities arranged in rows overlap", arranged);
        }
        state.ArrangeInRows(kViewWidth);
        if (const std::string again = Written(state); again != arranged)
            Fail(use, "arranging in rows again moved entities", arranged, again);
    }
    Paint(state, [](QPainter&) {});
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Dice are drawn from their pictures.
    fuzz::StartTrayApplication("tray_paint_fuzz");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::AsText(data, size);
    if (fuzz::CouldMakeMoreDice(text, fuzz::kMaxDice))
        return -1; // not kept in the corpus
    random_source::Seed(1);
    CDocState opened;
    opened.ReadTrayXml(text, false, true);
    if (opened.Entities().size() > static_cast<std::size_t>(fuzz::kMaxDice))
        return -1;
    const CRect extent = opened.GetExtent();
    if (extent.left < 0 || extent.top < 0)
        opened.ArrangeInRows(kViewWidth);
    CDocState pasted(opened);
    pasted.PasteText(text, QPoint(kViewWidth / 2, kViewHeight / 2));

    Look("opened", opened);
    ArrangeAndPaint("opened", opened);
    Look("pasted", pasted);
    ArrangeAndPaint("pasted", pasted);
    return 0;
}
