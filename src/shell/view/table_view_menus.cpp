// The tray view's context menus: the "Bag" for a pending die, and the menus
// for a selection of dice, of texts, or of nothing. The keyboard opens them
// too (the context-menu key, Shift+F10).
#include "die_painter.h"
#include "shell_strings.h"
#include "table_doc.h"
#include "table_view.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QMenu>
#include <algorithm>

namespace rp {

namespace {
// An entry of a context menu; 0 stands for a separator.
struct MenuItem {
    int id;
    const char* text;
};

constexpr MenuItem kSelectionItems[] = {
    {cmd::kCut, "Cut"},
    {cmd::kCopy, "Copy"},
    {cmd::kDelete, "Delete"},
    {0, nullptr},
    {cmd::kRollSelected, "Roll"},
    {0, nullptr},
    {cmd::kGroup, "Group"},
    {cmd::kUngroup, "Ungroup"},
    {cmd::kIncrementModifier, "Increment Modifiers"},
    {cmd::kDecrementModifier, "Decrement Modifiers"},
    {0, nullptr},
    {cmd::kProperties, "Properties..."},
};
constexpr MenuItem kTextItems[] = {
    {cmd::kCut, "Cut"}, {cmd::kCopy, "Copy"},          {cmd::kDelete, "Delete"},
    {0, nullptr},       {cmd::kEditText, "Edit Text"},
};
constexpr MenuItem kNoSelectionItems[] = {
    {cmd::kPasteHere, "Paste"},
    {0, nullptr},
    {cmd::kSelectAll, "Select All"},
    {0, nullptr},
    {cmd::kAddTextHere, "Add &Text"},
    {0, nullptr},
    {cmd::kSetBackgroundColor, "Set Background Color..."},
};
} // namespace

void CTableView::BuildContextMenu(QMenu& menu) {
    if (pendingDie != 0) {
        AddBagItems(menu);
        InsertAddCountItems(menu);
        return;
    }
    const CDocState& state = document->GetCurrentState();
    const int selected = state.GetSelectedCount();
    const int groups = state.GetSelectedGroupCount();
    // The entries of the selection menus follow the view's own enabling rules.
    const auto add = [&](std::span<const MenuItem> items, bool checkRules) {
        for (const MenuItem& item : items) {
            if (item.id == 0) {
                menu.addSeparator();
                continue;
            }
            QAction* entry = AddCommandItem(menu, item.id, QString::fromLatin1(item.text));
            CCmdUI ui;
            if (checkRules && UpdateCommand(item.id, ui))
                entry->setEnabled(ui.enabled);
        }
    };
    const auto entry = [&](int id) {
        const QList<QAction*> entries = menu.actions();
        const auto found = std::find_if(entries.begin(), entries.end(),
                                        [id](const QAction* a) { return CommandOf(a) == id; });
        return found == entries.end() ? nullptr : *found;
    };

    if (groups >= 1) {
        add(kSelectionItems, true);
        menu.setDefaultAction(entry(cmd::kRollSelected));
        auto* colours = new QMenu(QString::fromLatin1(shell_strings::kColors), &menu);
        const QSet<QString> colourNames = state.GetSelectedColors();
        colourCommands.clear();
        BuildColourMenu(*colours, &colourCommands, state.GetSelectedSideCounts(),
                        colourNames.size() == 1 ? *colourNames.begin() : QString(),
                        CDiePainter::ImagesFolder());
        menu.addSeparator();
        menu.addMenu(colours)->setEnabled(!colours->isEmpty());
        if (groups == 1 && state.GetSelectedDiceCount() > 1) {
            menu.addSeparator();
            QAction* ignore = AddCommandItem(menu, cmd::kIgnoreLowestDie,
                                             QString::fromLatin1("Ignore Lowest Die"));
            ignore->setCheckable(true);
            ignore->setChecked(state.GetFirstIgnoreCount() != 0);
            QAction* ignoreHighest = AddCommandItem(menu, cmd::kIgnoreHighestDie,
                                                    QString::fromLatin1("Ignore Highest Die"));
            ignoreHighest->setCheckable(true);
            ignoreHighest->setChecked(state.GetFirstIgnoreHighestCount() != 0);
        }
    } else if (selected >= 2) {
        add(std::span(kTextItems).first(3), true);
    } else if (selected == 1) {
        add(kTextItems, true);
        menu.setDefaultAction(entry(cmd::kEditText));
    } else {
        add(kNoSelectionItems, false);
    }
}

void CTableView::InsertAddCountItems(QMenu& menu) const {
    QAction* cancel = nullptr;
    for (QAction* action : menu.actions())
        if (CommandOf(action) == cmd::kCancel)
            cancel = action;
    for (const int count : addCounts) {
        auto* item = new QAction(QString::asprintf(shell_strings::kAddCount, count), &menu);
        item->setData(cmd::kAddCountBase + count);
        menu.insertAction(cancel, item);
    }
    menu.insertSeparator(cancel);
}

void CTableView::ShowContextMenu(QPoint viewportPoint) {
    // The menu takes the mouse: a drag or rubber band ends unrecorded, and a
    // text waiting to be placed is not placed.
    EndMouseGesture();
    EndTextPlacement();
    // A pending die gets its "Bag" only inside the view; either way it ends
    // with the next mouse move.
    const bool inside = viewport()->rect().contains(viewportPoint);
    int chosen = 0;
    if (pendingDie == 0 || inside) {
        QMenu menu(this);
        BuildContextMenu(menu);
        chosen = CommandOf(menu.exec(viewport()->mapToGlobal(viewportPoint)));
    }
    clearPendingDie = true;
    document->UpdateAllViews();
    if (chosen != 0)
        OnCommand(chosen);
}

QPoint CTableView::KeyboardMenuPoint() const {
    const QRect client = viewport()->rect();
    const auto selected = document->GetCurrentState().GetSelectedEntities();
    if (pendingDie == 0 && !selected.empty()) {
        CRect box = selected.front()->GetBoundingRect();
        for (const CDocEntity* entity : selected)
            box = box.Join(entity->GetBoundingRect());
        const QPoint centre = ToViewport(box.Center());
        return QPoint(std::clamp(centre.x(), 0, std::max(0, client.width() - 1)),
                      std::clamp(centre.y(), 0, std::max(0, client.height() - 1)));
    }
    const QPoint pointer = viewport()->mapFromGlobal(QCursor::pos());
    return client.contains(pointer) ? pointer : client.center();
}

void CTableView::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() != QContextMenuEvent::Keyboard) {
        ShowContextMenu(viewport()->mapFromGlobal(event->globalPos()));
        return;
    }
    const QPoint at = KeyboardMenuPoint();
    // Paste and Add Text of the empty selection's menu act where it opens.
    if (pendingDie == 0 && document->GetCurrentState().GetSelectedCount() == 0)
        currentPoint = ToTray(at);
    ShowContextMenu(at);
}

} // namespace rp
