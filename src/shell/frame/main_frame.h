#pragma once

#include "commands.h"
#include "recent_files.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <memory>

class QDockWidget;
class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;

namespace rp {

class COddsWindow;
class CRollpouchCtrl;
class CTableDoc;
class CTableFrame;
class CTableView;
class IShellHost;

// Rollpouch's main window: tray windows in an MDI area, the two toolbars
// docked at the top, the die bar docked on the right, the menus (those of a
// tray while one is active, a short set while none is), the program's
// commands with their keys, and the status bar's message pane ("Ready", the
// last total; a command's prompt covers it while the command is hovered).
// F6 and Shift+F6 move the keyboard focus between the active tray, the die
// bar and the roll log. It takes its place
// and its bars' layout from the settings when created and stores them when
// closed. What it needs of the program comes from its shell host.
class CMainFrame : public QMainWindow, public ICommandTarget {
    Q_OBJECT
public:
    explicit CMainFrame(IShellHost& host);
    ~CMainFrame() override;

    // A new empty tray, named Rollpouch1, Rollpouch2, ...
    CTableFrame* NewTray();
    // Opens a tray file in a window of its own, or activates the window that
    // shows it already. A file that cannot be opened shows the reason; null then.
    CTableFrame* OpenTray(const QString& path);
    // Opens several tray files; one message lists those that could not be
    // opened (the first kListedFailures with their reasons, then how many
    // more) and says how many were `skipped` unopened.
    void OpenTrays(const QStringList& paths, int skipped = 0);
    static constexpr int kListedFailures = 20;
    // Asks for tray files to open, several at once, starting in the active
    // tray's folder. A name that does not exist becomes an empty file first.
    void Open();
    void Save();
    void SaveAs();
    void CloseTray();

    // The tray window last activated, and its view; null with no tray open.
    CTableFrame* ActiveTrayFrame() const;
    CTableView* ActiveView() const;
    QList<CTableFrame*> TrayFrames() const;

    QString MessageText() const;
    IShellHost& Host() const { return host; }
    void SetMessageText(const QString& text);

    // The program's commands by id (see commands.h), for menus and bars.
    QAction* Action(int id) const { return commands->Action(id); }
    CCommands& Commands() const { return *commands; }
    QAction* UndoAction() const { return Action(cmd::kUndo); }
    QAction* RedoAction() const { return Action(cmd::kRedo); }
    CRollpouchCtrl* DieBar() const { return dieBar; }
    QDockWidget* DieBarDock() const { return dieBarDock; }
    // The main toolbar (128) and the dice toolbar (140).
    QToolBar* MainToolBar() const { return mainToolBar; }
    QToolBar* DiceToolBar() const { return diceToolBar; }
    // Fills a drop-down of the next steps to undo (or redo), at most nine,
    // nearest first; choosing the n-th takes back (or reapplies) n steps.
    void FillHistoryMenu(QMenu& menu, bool redo);
    // The menus of the menu bar now: a tray's while one is active.
    QList<QMenu*> CurrentMenus() const;
    const CRecentFileList& RecentFiles() const { return recentFiles; }

    // Another window on the active tray; null with no tray open.
    CTableFrame* NewWindow();
    // Minimised tray windows side by side along the bottom of the area.
    void ArrangeIcons();

    // The frame's commands: new, open, the recent files, exit, the bars'
    // toggles, the window commands and the odds.
    bool UpdateCommand(int id, CCmdUI& ui) override;
    bool OnCommand(int id) override;

    // The steps of closing the program: stores the window's place, its bars'
    // layout and, once the end goes ahead, the list of open trays. With
    // `mayAsk`, asks about each modified tray first; false when the user
    // cancels. Without, leaves every tray as it is (the desktop session
    // ending with no chance to ask).
    bool QueryEnd(bool mayAsk);

    // The "Odds" window, following the active tray; made on first use.
    COddsWindow* OddsWindow() const { return oddsWindow; }
    // The "Roll Log" dock, hidden at first; its toggle is for the View menu.
    QDockWidget* RollLogDock() const { return rollLogDock; }
    // The roll log's text, where F6 brings the focus.
    QWidget* RollLogText() const { return rollLogText; }
    QAction* RollLogAction() const;

public slots:
    // Opens the "Odds" window on the active tray's selection, or brings it forward.
    void ShowOddsWindow();

protected:
    // Stores the window's place and its bars' layout, asks about each
    // modified tray (Cancel keeps the program open), then stores or clears
    // the list of open trays.
    void closeEvent(QCloseEvent* event) override;
    // Tray files dropped on the window open as trays.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // Shows the bars restored floating.
    void showEvent(QShowEvent* event) override;

private:
    // main_frame_bars.cpp
    void CreateToolBars();
    void CreateDieBar();
    // F6 and Shift+F6.
    void CreateFocusCycle();
    // Moves the focus to the next (or previous) shown one of the active
    // tray's view, the die bar and the roll log's text.
    void CycleFocus(bool forward);
    // The bar a View toggle shows or hides; null for other commands.
    QWidget* BarOf(int id) const;
    // The stored layout, once every bar and dock exists; a damaged one
    // leaves the defaults.
    void RestoreBarState();
    void SaveBarState() const;
    // main_frame_menus.cpp
    void CreateMenus();
    void ShowMenus(bool trayActive);
    void FillWindowMenu(QMenu& menu);
    std::vector<ICommandTarget*> CommandRoute() const;
    // main_frame_session.cpp
    // The stored place; one that lies on no screen keeps only its size.
    void RestoreWindowPlacement();
    void SaveWindowPlacement() const;
    void SaveOpenFileList() const;
    // main_frame_odds.cpp
    void CreateOddsAndRollLog();

    CTableFrame* AddTrayFrame(std::shared_ptr<CTableDoc> document);
    // OpenTray without its message: the reason goes to `reason`.
    CTableFrame* OpenTrayFor(const QString& path, QString& reason);
    // Follows the tray of the active window: caption, menus, commands.
    void ActiveTrayChanged();
    void UpdateCaption();
    // Several windows on one tray are told apart by a number after its name.
    void NumberTrayWindows();

    IShellHost& host;
    QMdiArea* mdiArea;
    QLabel* messageText;
    CRollpouchCtrl* dieBar = nullptr;
    QDockWidget* dieBarDock = nullptr;
    QToolBar* mainToolBar = nullptr;
    QToolBar* diceToolBar = nullptr;
    // Restored floating and shown, waiting for the main window to show.
    QList<QWidget*> floatingBars;
    COddsWindow* oddsWindow = nullptr;
    QDockWidget* rollLogDock = nullptr;
    QWidget* rollLogText = nullptr;
    CCommands* commands;
    CRecentFileList recentFiles;
    QList<QMenu*> noTrayMenus;
    QList<QMenu*> trayMenus;
    int untitledCount = 0;
    bool shownTrayWindow = false;
    QPointer<CTableDoc> followed;
    QList<QMetaObject::Connection> following;
};

} // namespace rp
