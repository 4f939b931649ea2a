#pragma once

#include "mini_clattermat.h"
#include "recent_files.h"

class QAction;
class QMenu;
class QToolButton;

namespace rp {

// The icon of MiniRollpouch, in every size it ships.
QIcon MiniRollpouchIcon();

// MiniRollpouch's main window: the quick-roll dialog with a toolbar to open
// tray files (and the recent ones) and to roll.
class CMiniRollpouchDlg : public CMiniClattermat {
    Q_OBJECT
public:
    CMiniRollpouchDlg();

    void EnableRollCommand(bool enable) override;

    // Lists the groups of a tray file; a missing or non-XML file gives an
    // empty list. The path goes to the recent files in any case.
    void OpenPath(const QString& path);
    // Asks for a tray file and opens it.
    void OnFileOpen();
    void ShowAbout();

    const CRecentFileList& RecentFiles() const { return recentFiles; }
    QAction* RollAction() const { return rollAction; }
    QAction* OpenAction() const { return openAction; }

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void FillRecentMenu(QMenu* menu);

    CRecentFileList recentFiles;
    QAction* openAction;
    QAction* rollAction;
    QAction* aboutAction;
    QMenu* recentMenu;
};

} // namespace rp
