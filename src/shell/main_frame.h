#pragma once

#include "commands.h"
#include "recent_files.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <memory>

class QLabel;
class QMdiArea;
class QMenu;

namespace rp {

class CTableDoc;
class CTableFrame;
class CTableView;

// Rollpouch's main window: tray windows in an MDI area, the menus (those of
// a tray while one is active, a short set while none is), the program's
// commands with their keys, and the status bar's message pane ("Ready", the
// last total, a command's prompt while it is hovered).
class CMainFrame : public QMainWindow, public ICommandTarget {
    Q_OBJECT
public:
    CMainFrame();
    ~CMainFrame() override;

    // A new empty tray, named Rollpouch1, Rollpouch2, ...
    CTableFrame* NewTray();
    // Opens a tray file in a window of its own, or activates the window that
    // shows it already. A file that cannot be opened shows the reason; null then.
    CTableFrame* OpenTray(const QString& path);
    // The File menu's commands on the active tray.
    void Open();
    void Save();
    void SaveAs();
    void CloseTray();

    // The tray window last activated, and its view; null with no tray open.
    CTableFrame* ActiveTrayFrame() const;
    CTableView* ActiveView() const;
    QList<CTableFrame*> TrayFrames() const;

    QString MessageText() const;
    void SetMessageText(const QString& text);

    // The program's commands by id (see commands.h), for menus and bars.
    QAction* Action(int id) const { return commands->Action(id); }
    CCommands& Commands() const { return *commands; }
    QAction* UndoAction() const { return Action(cmd::kUndo); }
    QAction* RedoAction() const { return Action(cmd::kRedo); }
    // Fills a drop-down of the next steps to undo (or redo), at most nine,
    // nearest first; choosing the n-th takes back (or reapplies) n steps.
    void FillHistoryMenu(QMenu& menu, bool redo);
    // The menus of the menu bar now: a tray's while one is active.
    QList<QMenu*> CurrentMenus() const;
    const CRecentFileList& RecentFiles() const { return recentFiles; }

    // The frame's commands: new, open, the recent files, exit, the status
    // bar and the window arrangement.
    bool UpdateCommand(int id, CCmdUI& ui) override;
    bool OnCommand(int id) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // main_frame_menus.cpp
    void CreateMenus();
    void ShowMenus(bool trayActive);
    void FillWindowMenu(QMenu& menu);
    std::vector<ICommandTarget*> CommandRoute() const;

    CTableFrame* AddTrayFrame(std::shared_ptr<CTableDoc> document);
    // Follows the tray of the active window: caption, menus, commands.
    void ActiveTrayChanged();
    void UpdateCaption();

    QMdiArea* mdiArea;
    QLabel* messageText;
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
