#pragma once

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <memory>

class QLabel;
class QMdiArea;

namespace rp {

class CTableDoc;
class CTableFrame;
class CTableView;

// Rollpouch's main window: tray windows in an MDI area, the File menu, Undo
// and Redo carrying the next step's label, and the status bar's message
// pane ("Ready", the last total).
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
    QAction* UndoAction() const { return undoAction; }
    QAction* RedoAction() const { return redoAction; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateMenus();
    CTableFrame* AddTrayFrame(std::shared_ptr<CTableDoc> document);
    // Follows the tray of the active window: caption, Undo and Redo.
    void ActiveTrayChanged();
    void UpdateCaption();
    void UpdateUndoRedo();

    QMdiArea* mdiArea;
    QLabel* messageText;
    QAction* saveAction = nullptr;
    QAction* saveAsAction = nullptr;
    QAction* closeAction = nullptr;
    QAction* undoAction = nullptr;
    QAction* redoAction = nullptr;
    int untitledCount = 0;
    bool shownTrayWindow = false;
    QPointer<CTableDoc> followed;
    QList<QMetaObject::Connection> following;
};

} // namespace rp
