// The tray view's commands: roll, add dice at a free spot or at a point,
// undo and redo, Enter, delete, the add counts, the clipboard, the dialogs,
// the mini tray, and the routing of the menu commands with their states.
#include "add_count_dlg.h"
#include "dice_properties_dlg.h"
#include "file_bytes.h"
#include "free_spot.h"
#include "int_text.h"
#include "mod_spin_button_ctrl.h"
#include "roll_log.h"
#include "roll_text.h"
#include "settings.h"
#include "shell_host.h"
#include "shell_icons.h"
#include "shell_strings.h"
#include "table_doc.h"
#include "table_view.h"
#include "title_edit.h"

#include <QClipboard>
#include <QColorDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>
#include <cstdint>

namespace rp {

namespace {
constexpr int kMaxListSteps = CTableDoc::kMaxLabels;

bool InRange(int id, int first, int last) {
    return id >= first && id <= last;
}
} // namespace

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
    ApplyEdit([](CDocState& state) { state.RollSelected(); });
    const auto painted = document->GetCurrentState().GetSelectedGroups();
    const std::vector<const CDiceGroup*> rolled(painted.begin(), painted.end());
    const QString text = QString::fromStdString(RollTotalText(rolled));
    emit statusMessage(text);
    host.RollLog().AddRoll(document->GetSaveChangesName(), rolled);
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
        std::vector<CRect> blockers;
        blockers.reserve(state.Entities().size());
        for (const auto& entity : state.Entities())
            blockers.push_back(entity->GetBoundingRect());
        block = FindFreeSpot(std::move(blockers), block, width, kGridPitch);
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

bool CTableView::TitleEditing() const {
    return !titleEditor->isHidden();
}

QString CTableView::GetTrayTitle() const {
    return document->GetTitle();
}

QString CTableView::GetTrayName() const {
    return document->GetSaveChangesName();
}

bool CTableView::UpdateCommand(int id, CCmdUI& ui) {
    if (colourCommands.contains(id) || UpdateEditCommand(id, ui))
        return true;
    const CDocState& state = document->GetCurrentState();
    const int groups = state.GetSelectedGroupCount();
    switch (id) {
    case cmd::kRollSelected:
    case cmd::kProperties:
    case cmd::kIncrementModifier:
    case cmd::kDecrementModifier:
        ui.enabled = groups >= 1;
        return true;
    case cmd::kGroup:
        ui.enabled = groups > 1;
        return true;
    case cmd::kUngroup:
        ui.enabled = groups < state.GetSelectedDiceCount();
        return true;
    case cmd::kIgnoreLowestDie:
        ui.checked = groups >= 1 && state.GetFirstIgnoreCount() != 0;
        return true;
    case cmd::kIgnoreHighestDie:
        ui.checked = groups >= 1 && state.GetFirstIgnoreHighestCount() != 0;
        return true;
    case cmd::kMiniClattermat:
    case cmd::kAddN:
    case cmd::kCancel:
    case cmd::kEnter:
        return true;
    case cmd::kPlaySound:
    case cmd::kDelayRoll:
    case cmd::kOpenLast:
        ui.checked = host.Settings().IsOptionChecked(static_cast<OptionsCommand>(id));
        return true;
    default:
        return InRange(id, cmd::kAddCountBase + 1, cmd::kLastAddCount);
    }
}

bool CTableView::UpdateEditCommand(int id, CCmdUI& ui) const {
    const CDocState& state = document->GetCurrentState();
    const bool editing = TitleEditing();
    switch (id) {
    case cmd::kUndo:
    case cmd::kRedo: {
        const bool undo = id == cmd::kUndo;
        const QStringList labels = undo ? document->GetUndoLabels() : document->GetRedoLabels();
        const QByteArray label = labels.value(0).toUtf8();
        ui.enabled = !labels.isEmpty();
        ui.text = QString::asprintf(undo ? shell_strings::kUndoMenu : shell_strings::kRedoMenu,
                                    label.constData());
        if (ui.enabled)
            ui.tip = QString::asprintf(undo ? shell_strings::kUndoTip : shell_strings::kRedoTip,
                                       label.constData());
        return true;
    }
    case cmd::kCut:
    case cmd::kCopy:
    case cmd::kDelete:
        ui.enabled = editing ? titleEditor->hasSelectedText() : state.GetSelectedCount() > 0;
        return true;
    case cmd::kPaste: {
        const QClipboard* clipboard = QGuiApplication::clipboard();
        const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
        ui.enabled = data && data->hasText();
        return true;
    }
    case cmd::kInvertSelection:
        ui.enabled = !editing;
        return true;
    case cmd::kEditText:
        ui.enabled =
            state.GetSelectedCount() == 1 && state.GetSelectedGroupCount() == 0 && !editing;
        return true;
    case cmd::kSelectAll:
    case cmd::kSelectNone:
    case cmd::kAddText:
    case cmd::kAddTextHere:
    case cmd::kPasteHere:
    case cmd::kSetBackgroundColor:
        return true;
    }
    if (InRange(id, cmd::kUndoListBase + 1, cmd::kUndoListBase + kMaxListSteps)) {
        ui.enabled = document->GetUndoLabels().size() >= id - cmd::kUndoListBase;
        return true;
    }
    if (InRange(id, cmd::kRedoListBase + 1, cmd::kRedoListBase + kMaxListSteps)) {
        ui.enabled = document->GetRedoLabels().size() >= id - cmd::kRedoListBase;
        return true;
    }
    return false;
}

bool CTableView::OnCommand(int id) {
    keyMoveStateId = 0;
    // The colours of the last selection menu come first.
    if (const auto colour = colourCommands.constFind(id); colour != colourCommands.constEnd()) {
        const QString name = colour.value();
        ApplyEdit([&](CDocState& state) { state.SetColors(name); });
        return true;
    }
    return OnEditCommand(id) || OnDiceCommand(id);
}

bool CTableView::OnEditCommand(int id) {
    CDocState& state = document->GetCurrentState();
    const bool editing = TitleEditing();
    switch (id) {
    case cmd::kUndo:
        Undo();
        return true;
    case cmd::kRedo:
        Redo();
        return true;
    case cmd::kCut:
        if (editing)
            titleEditor->cut();
        else if (state.GetSelectedCount() > 0)
            ApplyEdit([](CDocState& edited) { edited.Cut(); });
        return true;
    case cmd::kCopy:
        if (editing)
            titleEditor->copy();
        else
            state.Copy();
        return true;
    case cmd::kPaste:
        Paste(std::nullopt);
        return true;
    case cmd::kPasteHere:
        Paste(currentPoint);
        return true;
    case cmd::kDelete:
        if (editing)
            titleEditor->del();
        else
            DeleteSelected();
        return true;
    case cmd::kSelectAll:
        if (editing) {
            titleEditor->selectAll();
        } else {
            // The modifier editor commits to the groups it was opened for;
            // that is a new state.
            CommitModifierEdit();
            document->GetCurrentState().SelectAll();
            document->UpdateAllViews();
        }
        return true;
    case cmd::kSelectNone:
        SelectNoneOrCollapse();
        return true;
    case cmd::kInvertSelection:
        CommitModifierEdit();
        document->GetCurrentState().InvertSelection();
        document->UpdateAllViews();
        return true;
    case cmd::kAddText:
        CommitEditors();
        SelectNoneOrCollapse();
        StartTextPlacement();
        return true;
    case cmd::kAddTextHere:
        EditNewText(currentPoint);
        return true;
    case cmd::kEditText:
        EditSelectedText();
        return true;
    case cmd::kSetBackgroundColor:
        ChooseBackgroundColor();
        return true;
    case cmd::kCancel:
        CancelGesture();
        return true;
    case cmd::kEnter:
        Enter();
        return true;
    }
    if (InRange(id, cmd::kUndoListBase + 1, cmd::kUndoListBase + kMaxListSteps)) {
        Undo(id - cmd::kUndoListBase);
        return true;
    }
    if (InRange(id, cmd::kRedoListBase + 1, cmd::kRedoListBase + kMaxListSteps)) {
        Redo(id - cmd::kRedoListBase);
        return true;
    }
    return false;
}

bool CTableView::OnDiceCommand(int id) {
    const CDocState& state = document->GetCurrentState();
    const int groups = state.GetSelectedGroupCount();
    switch (id) {
    case cmd::kRollSelected:
        RollAndShowTotal();
        return true;
    case cmd::kProperties:
        EditProperties();
        return true;
    case cmd::kMiniClattermat:
        LaunchMiniClattermat();
        return true;
    case cmd::kGroup:
        if (groups > 1)
            ApplyEdit([](CDocState& edited) { edited.GroupSelected(); });
        return true;
    case cmd::kUngroup:
        if (groups < state.GetSelectedDiceCount())
            ApplyEdit([](CDocState& edited) { edited.UngroupSelected(); });
        return true;
    case cmd::kIncrementModifier:
        ApplyEdit([](CDocState& edited) { edited.IncrementModifiers(); });
        return true;
    case cmd::kDecrementModifier:
        ApplyEdit([](CDocState& edited) { edited.DecrementModifiers(); });
        return true;
    case cmd::kIgnoreLowestDie:
        if (groups >= 1) {
            const int count = state.GetFirstIgnoreCount() == 0 ? 1 : 0;
            ApplyEdit([count](CDocState& edited) { edited.SetIgnoreCounts(count); });
        }
        return true;
    case cmd::kIgnoreHighestDie:
        if (groups >= 1) {
            const int count = state.GetFirstIgnoreHighestCount() == 0 ? 1 : 0;
            ApplyEdit([count](CDocState& edited) { edited.SetIgnoreHighestCounts(count); });
        }
        return true;
    case cmd::kAddN:
        AddCountFromDialog();
        return true;
    case cmd::kPlaySound:
    case cmd::kDelayRoll:
    case cmd::kOpenLast:
        host.Settings().ToggleOption(static_cast<OptionsCommand>(id));
        return true;
    }
    if (InRange(id, cmd::kAddCountBase + 1, cmd::kLastAddCount)) {
        AddDiceAtPoint(currentPoint, id - cmd::kAddCountBase);
        viewport()->update();
        return true;
    }
    return false;
}

void CTableView::SelectNoneOrCollapse() {
    if (TitleEditing()) {
        titleEditor->setCursorPosition(0);
        return;
    }
    CommitModifierEdit();
    document->GetCurrentState().SelectNone();
    document->UpdateAllViews();
}

void CTableView::Paste(std::optional<QPoint> point) {
    if (!point && TitleEditing()) {
        titleEditor->paste();
        return;
    }
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QByteArray text = clipboard ? clipboard->text().toUtf8() : QByteArray();
    // No more than a tray file may hold; nothing is pasted, and no step made.
    if (static_cast<std::size_t>(text.size()) > kMaxTrayFileBytes) {
        QMessageBox::warning(this, QCoreApplication::applicationName(),
                             tr("The clipboard holds more than 64 MiB of text; nothing was "
                                "pasted."));
        return;
    }
    bool complete = true;
    ApplyEdit([&](CDocState& state) {
        return state.PasteText(std::string_view(text.constData(), std::size_t(text.size())), point,
                               &complete);
    });
    if (!complete)
        QMessageBox::warning(this, QCoreApplication::applicationName(),
                             QString::fromLatin1(kDiceLeftOutText));
    // The pasted dice are the selection: their roll is a step of its own.
    RollAndShowTotal();
}

void CTableView::EditProperties() {
    // The dialog shows what the open editors hold, committed.
    CommitEditorsOf(*document);
    const CDocState& state = document->GetCurrentState();
    if (state.GetSelectedGroupCount() == 0)
        return;
    QString title, multiplier;
    int modifier = 0;
    state.GetCommonProperties(&title, &modifier, &multiplier);
    CDicePropertiesDlg dlg(this);
    dlg.title = title;
    dlg.multiplierText = multiplier;
    dlg.modifier = modifier;
    const SRuleFields rules = state.GetCommonRules();
    dlg.rules = rules;
    if (dlg.exec() == QDialog::Accepted) {
        // Only what was changed: the other fields keep each group's own value.
        std::optional<QString> newTitle, newMultiplier;
        std::optional<int> newModifier;
        if (dlg.title != title)
            newTitle = dlg.title;
        if (dlg.modifier != modifier)
            newModifier = dlg.modifier;
        if (dlg.multiplierText != multiplier)
            newMultiplier = dlg.multiplierText;
        const auto changed = [](const auto& now, const auto& before) {
            return now != before ? now : std::nullopt;
        };
        const SRuleFields newRules{changed(dlg.rules.ignoreLowest, rules.ignoreLowest),
                                   changed(dlg.rules.ignoreHighest, rules.ignoreHighest),
                                   changed(dlg.rules.rerollBelow, rules.rerollBelow),
                                   changed(dlg.rules.explode, rules.explode),
                                   changed(dlg.rules.countAtLeast, rules.countAtLeast)};
        if (newTitle || newModifier || newMultiplier || newRules != SRuleFields{})
            ApplyEdit([&](CDocState& edited) {
                edited.SetProperties(newTitle, newModifier, newMultiplier, newRules);
            });
    }
    viewport()->update();
}

void CTableView::ChooseBackgroundColor() {
    const QColor chosen =
        QColorDialog::getColor(document->GetCurrentState().GetBackgroundColor(), this);
    if (chosen.isValid())
        ApplyEdit([&](CDocState& state) { state.SetBackgroundColor(FromQColor(chosen)); });
    viewport()->update();
}

void CTableView::AddCountFromDialog() {
    CAddCountDlg dlg(this);
    dlg.count = static_cast<quint32>(addCounts[0]);
    if (dlg.exec() == QDialog::Accepted)
        AddDiceAtPoint(currentPoint, static_cast<int>(dlg.count));
    else
        CancelGesture();
    viewport()->update();
}

void CTableView::LaunchMiniClattermat() {
    CommitEditorsOf(*document);
    if (!miniTray)
        miniTray = std::make_unique<CMiniClattermatDlg>(
            *this, ToolbarIcon(QString(), QStringLiteral("update-contents")),
            ToolbarIcon(QString(), QStringLiteral("roll-selected")));
    else if (miniTray->isHidden())
        miniTray->UpdateFromDocument();
    miniTray->show();
    miniTray->raise();
    miniTray->activateWindow();
}

} // namespace rp
