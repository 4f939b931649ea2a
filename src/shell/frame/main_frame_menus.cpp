// The main window's menus and its own commands: a tray's menus while one is
// active, a short set while none is; the recent files, the bars' toggles,
// the window list and the undo and redo drop-downs.
#include "main_frame.h"
#include "shell_host.h"
#include "table_doc.h"
#include "table_frame.h"
#include "table_view.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMenuBar>

namespace rp {

namespace {

// A menu's entries by command id; 0 is a separator, kRecentFiles the list
// of recent files, kRollLog the roll log dock's toggle.
constexpr int kRecentFiles = -1;
constexpr int kRollLog = -2;
struct MenuLayout {
    const char* title;
    std::vector<int> ids;
};

const std::vector<int> kFileNoTray{cmd::kNew, cmd::kOpen, 0, kRecentFiles, 0, cmd::kExit};
const std::vector<int> kFileTray{cmd::kNew, cmd::kOpen,   cmd::kClose, cmd::kSave, cmd::kSaveAs,
                                 0,         kRecentFiles, 0,           cmd::kExit};
const std::vector<int> kView{cmd::kMainToolbar, cmd::kDiceToolbar, cmd::kDieBar,
                             cmd::kStatusBar,   kRollLog,          0,
                             cmd::kProperties};
const std::vector<int> kHelp{cmd::kAbout};

// Without a tray.
const std::vector<MenuLayout>& NoTrayMenus() {
    static const std::vector<MenuLayout> menus{
        {"&File", kFileNoTray}, {"&View", kView}, {"&Help", kHelp}};
    return menus;
}

// While a tray is active.
const std::vector<MenuLayout>& TrayMenus() {
    using namespace cmd;
    static const std::vector<MenuLayout> menus{
        {"&File", kFileTray},
        {"&Edit",
         {kUndo, kRedo, 0, kCut, kCopy, kPaste, kDelete, 0, kSelectAll, kSelectNone,
          kInvertSelection, 0, kAddText, kEditText, 0, kSetBackgroundColor}},
        {"&View", kView},
        {"&Dice",
         {kRollSelected, kMiniClattermat, 0, kGroup, kUngroup, 0, kIncrementModifier,
          kDecrementModifier, 0, kOdds}},
        {"&Options", {kPlaySound, kDelayRoll, kOpenLast}},
        {"&Window", {kNewWindow, kCascade, kTile, kArrangeIcons}},
        {"&Help", kHelp},
    };
    return menus;
}

constexpr const char* kWindowMenuTitle = "&Window";

} // namespace

void CMainFrame::CreateMenus() {
    const auto build = [this](const std::vector<MenuLayout>& layouts) {
        QList<QMenu*> menus;
        for (const MenuLayout& layout : layouts) {
            auto* menu = new QMenu(QString::fromLatin1(layout.title), this);
            for (const int id : layout.ids) {
                if (id == 0) {
                    menu->addSeparator();
                } else if (id == kRecentFiles) {
                    for (int i = 0; i < CRecentFileList::kSize; ++i)
                        menu->addAction(Action(cmd::kFirstRecentFile + i));
                } else if (id == kRollLog) {
                    menu->addAction(RollLogAction());
                } else {
                    menu->addAction(Action(id));
                }
            }
            // Every menu shows the states of now.
            connect(menu, &QMenu::aboutToShow, commands, &CCommands::UpdateAll);
            if (qstrcmp(layout.title, kWindowMenuTitle) == 0)
                connect(menu, &QMenu::aboutToShow, this, [this, menu] { FillWindowMenu(*menu); });
            menus.append(menu);
        }
        return menus;
    };
    noTrayMenus = build(NoTrayMenus());
    trayMenus = build(TrayMenus());
    // The keys work whichever menus are shown ("Add 1" and "Add 2" are in none).
    commands->AddKeysTo(*this);
    connect(qApp, &QApplication::focusChanged, commands, &CCommands::UpdateAll);
    if (const QClipboard* clipboard = QGuiApplication::clipboard())
        connect(clipboard, &QClipboard::dataChanged, commands, &CCommands::UpdateAll);
}

void CMainFrame::ShowMenus(bool trayActive) {
    const QList<QMenu*>& wanted = trayActive ? trayMenus : noTrayMenus;
    if (CurrentMenus() == wanted)
        return;
    menuBar()->clear();
    for (QMenu* menu : wanted)
        menuBar()->addMenu(menu);
}

QList<QMenu*> CMainFrame::CurrentMenus() const {
    QList<QMenu*> menus;
    for (QAction* action : menuBar()->actions())
        if (action->menu())
            menus.append(action->menu());
    return menus;
}

void CMainFrame::FillWindowMenu(QMenu& menu) {
    // The commands stay; the list of tray windows after them is the menu's own.
    for (QAction* entry : menu.actions())
        if (entry->parent() == &menu)
            delete entry;
    const QList<CTableFrame*> frames = TrayFrames();
    if (frames.isEmpty())
        return;
    menu.addSeparator();
    for (int i = 0; i < frames.size(); ++i) {
        CTableFrame* frame = frames[i];
        const QString number = i < 9 ? QStringLiteral("&%1").arg(i + 1) : QString::number(i + 1);
        QAction* item =
            menu.addAction(number + QLatin1Char(' ') + MenuLiteral(frame->windowTitle()));
        item->setStatusTip(tr("Activate this window"));
        item->setCheckable(true);
        item->setChecked(frame == ActiveTrayFrame());
        connect(item, &QAction::triggered, this,
                [this, frame] { mdiArea->setActiveSubWindow(frame); });
    }
}

void CMainFrame::FillHistoryMenu(QMenu& menu, bool redo) {
    menu.clear();
    if (!followed)
        return;
    const QStringList labels = redo ? followed->GetRedoLabels() : followed->GetUndoLabels();
    const int base = redo ? cmd::kRedoListBase : cmd::kUndoListBase;
    for (int i = 0; i < labels.size(); ++i) {
        const int id = base + i + 1;
        connect(AddCommandItem(menu, id, MenuLiteral(labels[i])), &QAction::triggered, commands,
                [this, id] { commands->Execute(id); });
    }
}

std::vector<ICommandTarget*> CMainFrame::CommandRoute() const {
    std::vector<ICommandTarget*> route;
    if (CTableFrame* frame = ActiveTrayFrame()) {
        if (frame->View())
            route.push_back(frame->View());
        route.push_back(frame);
    }
    route.push_back(const_cast<CMainFrame*>(this));
    route.push_back(&host.LastCommandTarget());
    return route;
}

bool CMainFrame::UpdateCommand(int id, CCmdUI& ui) {
    if (const QWidget* bar = BarOf(id)) {
        ui.checked = !bar->isHidden();
        return true;
    }
    switch (id) {
    case cmd::kNew:
    case cmd::kOpen:
    case cmd::kExit:
    case cmd::kOdds:
        return true;
    case cmd::kNewWindow:
    case cmd::kCascade:
    case cmd::kTile:
    case cmd::kArrangeIcons:
        ui.enabled = ActiveTrayFrame() != nullptr;
        return true;
    }
    const int index = id - cmd::kFirstRecentFile;
    if (index < 0 || index >= CRecentFileList::kSize)
        return false;
    // No recent files: a grey "Recent File" holds their place.
    const QStringList& paths = recentFiles.Paths();
    if (index < paths.size())
        ui.text = RecentFileMenuText(index, paths[index]);
    else
        ui.enabled = false;
    ui.visible = index < paths.size() || index == 0;
    return true;
}

bool CMainFrame::OnCommand(int id) {
    if (QWidget* bar = BarOf(id)) {
        bar->setVisible(bar->isHidden());
        return true;
    }
    switch (id) {
    case cmd::kNew:
        NewTray();
        return true;
    case cmd::kOpen:
        Open();
        return true;
    case cmd::kExit:
        close();
        return true;
    case cmd::kOdds:
        ShowOddsWindow();
        return true;
    case cmd::kNewWindow:
        NewWindow();
        return true;
    case cmd::kCascade:
        mdiArea->cascadeSubWindows();
        return true;
    case cmd::kTile:
        mdiArea->tileSubWindows();
        return true;
    case cmd::kArrangeIcons:
        ArrangeIcons();
        return true;
    }
    const int index = id - cmd::kFirstRecentFile;
    if (index < 0 || index >= recentFiles.Paths().size())
        return false;
    // A file that cannot be opened any more leaves the list.
    const QString path = recentFiles.Paths()[index];
    if (!OpenTray(path))
        recentFiles.Remove(path);
    return true;
}

} // namespace rp
