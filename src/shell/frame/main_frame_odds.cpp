// The main window's odds window and roll log dock.
#include "main_frame.h"
#include "odds_window.h"
#include "roll_log_view.h"
#include "shell_host.h"
#include "table_frame.h"
#include "table_view.h"

#include <QAction>
#include <QDockWidget>
#include <QMdiArea>
#include <QPlainTextEdit>

namespace rp {

void CMainFrame::CreateOddsAndRollLog() {
    connect(mdiArea, &QMdiArea::subWindowActivated, this, [this] {
        if (oddsWindow)
            oddsWindow->SetTray(ActiveTrayFrame() ? ActiveTrayFrame()->Document() : nullptr);
    });

    // Named, so that the saved bar layout keeps whether it is shown.
    rollLogDock = new QDockWidget(tr("Roll Log"), this);
    rollLogDock->setObjectName(QStringLiteral("RollLogDock"));
    auto* logView = new CRollLogView(&host.RollLog(), rollLogDock);
    logView->setContentsMargins(6, 0, 6, 6);
    rollLogDock->setWidget(logView);
    rollLogText = logView->TextView();
    // The log sits under the trays only: the die bar keeps its full height
    // on either side.
    setCorner(Qt::BottomLeftCorner, Qt::LeftDockWidgetArea);
    setCorner(Qt::BottomRightCorner, Qt::RightDockWidgetArea);
    addDockWidget(Qt::BottomDockWidgetArea, rollLogDock);
    rollLogDock->hide();
    RollLogAction()->setStatusTip(tr("Show or hide the log of this session's rolls"));
}

QAction* CMainFrame::RollLogAction() const {
    return rollLogDock->toggleViewAction();
}

void CMainFrame::ShowOddsWindow() {
    // The odds are of the groups as the open editors leave them.
    if (const CTableFrame* frame = ActiveTrayFrame())
        CTableView::CommitEditorsOf(*frame->Document());
    if (!oddsWindow)
        oddsWindow = new COddsWindow(this);
    oddsWindow->SetTray(ActiveTrayFrame() ? ActiveTrayFrame()->Document() : nullptr);
    oddsWindow->AskAgain();
    oddsWindow->show();
    oddsWindow->raise();
    oddsWindow->activateWindow();
}

} // namespace rp
