#pragma once

#include "mini_clattermat.h"
#include "recent_files.h"

class QAction;
class QMenu;
class QToolButton;

namespace rp {

class CRollLogView;

// The icon of MiniRollpouch, in every size it ships.
QIcon MiniRollpouchIcon();

// MiniRollpouch's main window: the quick-roll dialog with a toolbar to open
// tray files (and the recent ones) and to roll.
class CMiniRollpouchDlg : public CMiniClattermat {
    Q_OBJECT
public:
    // The roll log, when open, takes half of the height beyond the minimum,
    // at least this much.
    static constexpr int kMinLogHeight = 100;
    // Opening the log makes the window this much taller; closing it, shorter.
    static constexpr int kLogGrowth = 160;
    // Between the results text and the open log.
    static constexpr int kLogGap = 6;

    CMiniRollpouchDlg();
    ~CMiniRollpouchDlg() override;

    void EnableRollCommand(bool enable) override;

    // Lists the groups of a tray file; a missing or non-XML file gives an
    // empty list. The path goes to the recent files in any case.
    void OpenPath(const QString& path);
    // Asks for a tray file and opens it.
    void OnFileOpen();
    void ShowAbout();
    // Opens or closes the session's roll log under the results.
    void ShowRollLog(bool show);

    const CRecentFileList& RecentFiles() const { return recentFiles; }
    QAction* RollAction() const { return rollAction; }
    QAction* OpenAction() const { return openAction; }
    QToolButton* RollLogButton() const { return logButton; }
    CRollLogView* RollLogView() const { return logView; }

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FillRecentMenu(QMenu* menu);
    // The height kept below the results text, and the open log's height.
    int LogSpace() const;
    int LogHeight() const;
    void PlaceRollLog();

    CRecentFileList recentFiles;
    QAction* openAction;
    QAction* rollAction;
    QAction* aboutAction;
    QMenu* recentMenu;
    QToolButton* logButton;
    CRollLogView* logView;
    bool logShown = false;
};

} // namespace rp
