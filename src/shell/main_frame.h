#pragma once

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <memory>

class QDockWidget;
class QLabel;
class QMdiArea;

namespace rp {

class COddsWindow;
class CRollpouchCtrl;
class CTableDoc;
class CTableFrame;
class CTableView;

// Rollpouch's main window: tray windows in an MDI area, the die bar docked
// on the right, the File menu, Undo and Redo carrying the next step's label,
// and the status bar's message pane ("Ready", the last total). It takes its
// place from the settings when created and stores it when closed.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame();
    ~CMainFrame() override;

    // A new empty tray, named Rollpouch1, Rollpouch2, ...
    CTableFrame* NewTray();
    // Opens a tray file in a window of its own, or activates the window that
    // shows it already. A file that cannot be opened shows the reason; null then.
    CTableFrame* OpenTray(const QString& path);
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
    void SetMessageText(const QString& text);
    QAction* UndoAction() const { return undoAction; }
    QAction* RedoAction() const { return redoAction; }
    CRollpouchCtrl* DieBar() const { return dieBar; }
    QDockWidget* DieBarDock() const { return dieBarDock; }

    // "Odds..." (command 36007, Ctrl+Shift+O): for the end of the Dice menu.
    static constexpr int kCmdOdds = 36007;
    QAction* OddsAction() const { return oddsAction; }
    // The "Odds" window, following the active tray; made on first use.
    COddsWindow* OddsWindow() const { return oddsWindow; }
    // The "Roll Log" dock, hidden at first; its toggle is for the View menu.
    QDockWidget* RollLogDock() const { return rollLogDock; }
    QAction* RollLogAction() const;

public slots:
    // Opens the "Odds" window on the active tray's selection, or brings it forward.
    void ShowOddsWindow();

protected:
    // Stores the window's place, asks about each modified tray (Cancel keeps
    // the program open), then stores or clears the list of open trays.
    void closeEvent(QCloseEvent* event) override;
    // Tray files dropped on the window open as trays.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateMenus();
    void CreateDieBar();
    // main_frame_session.cpp
    // The stored place; one that lies on no screen keeps only its size.
    void RestoreWindowPlacement();
    void SaveWindowPlacement() const;
    void SaveOpenFileList() const;
    // main_frame_odds.cpp
    void CreateOddsAndRollLog();
    CTableFrame* AddTrayFrame(std::shared_ptr<CTableDoc> document);
    // Follows the tray of the active window: caption, Undo and Redo.
    void ActiveTrayChanged();
    void UpdateCaption();
    void UpdateUndoRedo();

    QMdiArea* mdiArea;
    QLabel* messageText;
    CRollpouchCtrl* dieBar = nullptr;
    QDockWidget* dieBarDock = nullptr;
    QAction* saveAction = nullptr;
    QAction* saveAsAction = nullptr;
    QAction* closeAction = nullptr;
    QAction* undoAction = nullptr;
    QAction* redoAction = nullptr;
    QAction* oddsAction = nullptr;
    COddsWindow* oddsWindow = nullptr;
    QDockWidget* rollLogDock = nullptr;
    int untitledCount = 0;
    bool shownTrayWindow = false;
    QPointer<CTableDoc> followed;
    QList<QMetaObject::Connection> following;
};

} // namespace rp
