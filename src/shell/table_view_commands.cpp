// The tray view's commands: roll, add dice at a free spot or at a point,
// undo and redo, Enter, delete, and the add counts.
#include "dice_app.h"
#include "mod_spin_button_ctrl.h"
#include "roll_log.h"
#include "shell_strings.h"
#include "table_doc.h"
#include "table_view.h"
#include "title_edit.h"

namespace rp {

void CTableView::RollOrEditText() {
    const CDocState& state = document->GetCurrentState();
    if (state.GetSelectedDiceCount() >= 1)
        RollAndShowTotal();
    else if (state.GetSelectedCount() == 1)
        EditSelectedText();
}

void CTableView::RollAndShowTotal() {
    if (document->GetCurrentState().GetSelectedDiceCount() == 0)
        return;
    int total = 0;
    ApplyEdit([&](CDocState& state) { total = state.RollSelected(); });
    emit statusMessage(QString::asprintf(shell_strings::kTotal, total));
    if (CDiceApp* app = CDiceApp::Instance()) {
        const auto rolled = document->GetCurrentState().GetSelectedGroups();
        app->RollLog().AddRoll(document->GetSaveChangesName(),
                               std::vector<const CDiceGroup*>(rolled.begin(), rolled.end()));
    }
}

void CTableView::AddDiceAtFreeSpot(int sideCount, int count) {
    if (count < 1)
        return;
    // A squeezed view still leaves room for one die per row, so that the
    // block's rows shrink and the search ends.
    const int width = std::max(viewport()->width(), kMinFreeSpotWidth);
    CRect block{10, 10, 10 + kGridPitch * count, 10 + kGridPitch};
    int rowWidth = kGridPitch * count;
    const int room = width - 20;
    if (rowWidth > room) {
        while (block.right - 10 > room) {
            block.right -= room;
            block.bottom += kGridPitch;
            if (block.right - 10 < room) {
                rowWidth = room;
                block.right = room + 10;
            }
        }
    }
    ApplyEdit([&](CDocState& state) {
        while (state.IntersectsAny(block)) {
            block = block.Offset(kGridPitch, 0);
            if (block.right > width) {
                block.left = 10;
                block.right = rowWidth + 10;
                block = block.Offset(0, kGridPitch);
            }
        }
        std::vector<QPoint> positions;
        int x = block.left - kGridPitch / 2;
        int y = block.top + kGridPitch / 2;
        for (int i = 0; i < count; ++i) {
            x += kGridPitch;
            if (x > width) {
                x = 50;
                y += kGridPitch;
            }
            positions.emplace_back(x, y);
        }
        return state.AddDice(sideCount, positions, std::nullopt);
    });
    RecordAddCount(count);
}

void CTableView::AddDiceAtPoint(QPoint point, int count) {
    const int sideCount = std::exchange(pendingDie, 0);
    if (sideCount == 0 || count < 1)
        return;
    // A near-square block: a new column when it has as many rows as
    // columns, else a new row; then centred on the point.
    std::vector<QPoint> cells{{0, 0}};
    int columns = 1, rows = 1;
    while (static_cast<int>(cells.size()) < count) {
        if (rows == columns) {
            for (int row = 0; row < rows; ++row)
                cells.emplace_back(columns, row);
            ++columns;
        } else {
            for (int column = 0; column < columns; ++column)
                cells.emplace_back(column, rows);
            ++rows;
        }
    }
    cells.resize(static_cast<std::size_t>(count));
    const QPoint centring((kGridPitch - kGridPitch * columns) / 2,
                          (kGridPitch - kGridPitch * rows) / 2);
    std::vector<QPoint> positions;
    for (const QPoint& cell : cells)
        positions.push_back(point + cell * kGridPitch + centring);
    ApplyEdit([&](CDocState& state) { return state.AddDice(sideCount, positions, point); });
    RecordAddCount(count);
}

void CTableView::RecordAddCount(int count) {
    // Three distinct counts of 3 or more, most recent first.
    if (count < 3 || count == addCounts[0])
        return;
    if (count != addCounts[1])
        addCounts[2] = addCounts[1];
    addCounts[1] = addCounts[0];
    addCounts[0] = count;
}

void CTableView::Undo(int steps) {
    // The editors close without committing: their change would be a new step.
    CancelGesture();
    document->Undo(steps);
    ShowHistoryStep();
}

void CTableView::Redo(int steps) {
    CancelGesture();
    document->Redo(steps);
    ShowHistoryStep();
}

void CTableView::ShowHistoryStep() {
    emit statusMessage(QString::fromLatin1(shell_strings::kReady));
    UpdateScrollSizes();
    viewport()->update();
}

void CTableView::Enter() {
    const bool editing = titleEditor->hasFocus() || modifierEditor->hasFocus();
    setFocus(); // an editor commits on losing it
    if (!editing)
        RollOrEditText();
}

void CTableView::DeleteSelected() {
    if (document->GetCurrentState().GetSelectedCount() > 0)
        ApplyEdit([](CDocState& state) { state.DeleteSelected(); });
    viewport()->update();
}

} // namespace rp
