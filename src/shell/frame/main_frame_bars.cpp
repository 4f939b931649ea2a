// The main window's bars: the main and dice toolbars, the die bar, their
// View toggles, their layout kept between runs, and F6 from bar to bar.
#include "main_frame.h"
#include "rollpouch_ctrl.h"
#include "settings.h"
#include "shell_host.h"
#include "shell_icons.h"
#include "table_view.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <span>
#include <utility>

namespace rp {

namespace {

// A toolbar button: its command and icon (the desktop theme's where it has
// one, else our own); id 0 is a separator.
struct ToolButton {
    int id;
    const char* themeIcon;
    const char* ownIcon;
};

constexpr ToolButton kMainButtons[] = {
    {cmd::kNew, "document-new", "new"},
    {cmd::kOpen, "document-open", "open"},
    {cmd::kSave, "document-save", "save"},
    {0, nullptr, nullptr},
    {cmd::kCut, "edit-cut", "cut"},
    {cmd::kCopy, "edit-copy", "copy"},
    {cmd::kPaste, "edit-paste", "paste"},
    {cmd::kDelete, "edit-delete", "delete"},
    {0, nullptr, nullptr},
    {cmd::kUndo, "edit-undo", "undo"},
    {cmd::kRedo, "edit-redo", "redo"},
    {0, nullptr, nullptr},
    {cmd::kAddText, "", "add-text"},
    {cmd::kEditText, "", "edit-text"},
    {0, nullptr, nullptr},
    {cmd::kAbout, "help-about", "about"},
};

constexpr ToolButton kDiceButtons[] = {
    {cmd::kRollSelected, "", "roll-selected"},
    {0, nullptr, nullptr},
    {cmd::kGroup, "", "group"},
    {cmd::kUngroup, "", "ungroup"},
    {0, nullptr, nullptr},
    {cmd::kIncrementModifier, "", "increment-modifier"},
    {cmd::kDecrementModifier, "", "decrement-modifier"},
    {0, nullptr, nullptr},
    {cmd::kProperties, "", "properties"},
};

// Layouts stored by another version of the bars are not restored.
constexpr int kBarStateVersion = 1;

} // namespace

void CMainFrame::CreateToolBars() {
    const auto build = [this](const QString& title, const QString& name,
                              std::span<const ToolButton> buttons) {
        auto* bar = new QToolBar(title, this);
        bar->setObjectName(name);
        // Our pictures are drawn for 16 and 32 pixels: sharp at 1x and 2x.
        bar->setIconSize(QSize(16, 16));
        for (const ToolButton& button : buttons) {
            if (button.id == 0) {
                bar->addSeparator();
                continue;
            }
            QAction* action = Action(button.id);
            action->setIcon(ToolbarIcon(QString::fromLatin1(button.themeIcon),
                                        QString::fromLatin1(button.ownIcon)));
            // The menus show texts only.
            action->setIconVisibleInMenu(false);
            bar->addAction(action);
        }
        addToolBar(Qt::TopToolBarArea, bar);
        return bar;
    };
    mainToolBar = build(tr("Main"), QStringLiteral("MainToolbar"), kMainButtons);
    diceToolBar = build(tr("Dice"), QStringLiteral("DiceToolbar"), kDiceButtons);

    // Undo and Redo drop down the next steps; the i-th undoes (or redoes) i.
    for (const bool redo : {false, true}) {
        auto* button = qobject_cast<QToolButton*>(
            mainToolBar->widgetForAction(redo ? RedoAction() : UndoAction()));
        auto* steps = new QMenu(button);
        connect(steps, &QMenu::aboutToShow, this,
                [this, steps, redo] { FillHistoryMenu(*steps, redo); });
        button->setMenu(steps);
        button->setPopupMode(QToolButton::MenuButtonPopup);
    }
}

void CMainFrame::CreateDieBar() {
    dieBar = new CRollpouchCtrl(this);
    // A window too low for the whole bar scrolls it.
    auto* scroller = new QScrollArea;
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setBackgroundRole(QPalette::Button);
    scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroller->setWidget(dieBar);
    scroller->setMinimumWidth(dieBar->width() + scroller->verticalScrollBar()->sizeHint().width());
    dieBarDock = new QDockWidget(tr("Rollpouch"), this);
    dieBarDock->setObjectName(QStringLiteral("RollpouchBar"));
    dieBarDock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    dieBarDock->setWidget(scroller);
    addDockWidget(Qt::RightDockWidgetArea, dieBarDock);
}

void CMainFrame::CreateFocusCycle() {
    for (const bool forward : {true, false}) {
        auto* cycle = new QAction(this);
        cycle->setShortcut(forward ? QKeySequence(Qt::Key_F6)
                                   : QKeySequence(Qt::ShiftModifier | Qt::Key_F6));
        cycle->setShortcutContext(Qt::WindowShortcut);
        connect(cycle, &QAction::triggered, this, [this, forward] { CycleFocus(forward); });
        addAction(cycle);
    }
}

void CMainFrame::CycleFocus(bool forward) {
    QList<QWidget*> stops;
    for (QWidget* stop :
         {static_cast<QWidget*>(ActiveView()), static_cast<QWidget*>(dieBar), rollLogText})
        if (stop && stop->isVisible())
            stops.append(stop);
    if (stops.isEmpty())
        return;
    // From elsewhere (a toolbar, a floating window), F6 starts at the tray.
    const QWidget* focus = QApplication::focusWidget();
    qsizetype at = forward ? -1 : 0;
    for (qsizetype i = 0; i < stops.size(); ++i)
        if (focus && (stops[i] == focus || stops[i]->isAncestorOf(focus)))
            at = i;
    QWidget* next = stops[(at + (forward ? 1 : stops.size() - 1)) % stops.size()];
    // A floating dock is a window of its own.
    next->activateWindow();
    next->setFocus(Qt::ShortcutFocusReason);
}

QWidget* CMainFrame::BarOf(int id) const {
    switch (id) {
    case cmd::kMainToolbar:
        return mainToolBar;
    case cmd::kDiceToolbar:
        return diceToolBar;
    case cmd::kDieBar:
        return dieBarDock;
    case cmd::kStatusBar:
        return statusBar();
    }
    return nullptr;
}

void CMainFrame::RestoreBarState() {
    if (!restoreState(host.Settings().GetBarState(), kBarStateVersion))
        return;
    // Floating bars show once the main window is there, so that the window
    // manager keeps them above it. Qt restores a floating toolbar as if it
    // were still being dragged, out of the window manager's hands: it is
    // handed back, where it was.
    for (QWidget* bar : {static_cast<QWidget*>(mainToolBar), static_cast<QWidget*>(diceToolBar),
                         static_cast<QWidget*>(dieBarDock), static_cast<QWidget*>(rollLogDock)}) {
        if (!bar->isWindow())
            continue;
        if (!bar->isHidden())
            floatingBars.append(bar);
        const QRect place = bar->geometry();
        if (qobject_cast<QToolBar*>(bar))
            bar->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
        bar->setGeometry(place);
        bar->hide();
    }
}

void CMainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // Once the window is mapped.
    QTimer::singleShot(0, this, [this] {
        for (QWidget* bar : std::exchange(floatingBars, {}))
            bar->show();
    });
}

void CMainFrame::SaveBarState() const {
    host.Settings().SetBarState(saveState(kBarStateVersion));
}

} // namespace rp
