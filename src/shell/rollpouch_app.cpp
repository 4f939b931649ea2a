#include "rollpouch_app.h"

#include "about_dlg.h"
#include "main_frame.h"
#include "screenshot.h"
#include "table_view.h"

#include <QTimer>

namespace rp {

CRollpouchApp::CRollpouchApp(int& argc, char** argv)
    : CDiceApp(argc, argv, QStringLiteral("Clattermat")) {}

CRollpouchApp::~CRollpouchApp() = default;

CRollpouchApp* CRollpouchApp::Instance() {
    return qobject_cast<CRollpouchApp*>(QCoreApplication::instance());
}

int CRollpouchApp::Run() {
    CMainFrame frame;
    frame.show();
    // Only "-" starts a switch: "/home/..." is a file.
    QStringList files;
    for (const QString& argument : arguments().mid(1))
        if (!argument.startsWith(QLatin1Char('-')))
            files.append(argument);
    // Opened once the event loop runs, so that the message about a file that
    // cannot be opened does not hold up the rest (nor a screenshot).
    QTimer::singleShot(0, &frame, [&frame, files] {
        if (files.isEmpty())
            frame.NewTray();
        for (const QString& file : files)
            frame.OpenTray(file);
    });
    ScheduleScreenshotFromEnvironment(&frame);
    return exec();
}

void CRollpouchApp::PlayRollSound(int diceCount) {
    if (settings.GetPlaySound())
        CDiceApp::PlayRollSound(diceCount);
}

QString CRollpouchApp::GetDieColor() const {
    return settings.GetDieColor();
}

int CRollpouchApp::GetRollDelay() const {
    return settings.GetDelayRoll();
}

CTableView* CRollpouchApp::GetActiveView() const {
    return activeView;
}

void CRollpouchApp::SetActiveView(CTableView* view) {
    activeView = view;
}

void CRollpouchApp::RepaintActiveView() {
    if (activeView)
        activeView->viewport()->repaint();
}

int CRollpouchApp::GetViewClientWidth(const CTableDoc& document) const {
    const CTableView* view = CTableView::FirstViewOf(document);
    return view ? view->viewport()->width() : kDefaultViewWidth;
}

bool CRollpouchApp::UpdateCommand(int id, CCmdUI&) {
    return id == cmd::kAbout;
}

bool CRollpouchApp::OnCommand(int id) {
    if (id != cmd::kAbout)
        return false;
    CAboutDlg about(activeWindow());
    about.exec();
    return true;
}

} // namespace rp
