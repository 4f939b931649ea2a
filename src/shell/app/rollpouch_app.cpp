#include "rollpouch_app.h"

#include "about_dlg.h"
#include "bring_to_front.h"
#include "command_line_info_ex.h"
#include "main_frame.h"
#include "screenshot.h"
#include "shell_icons.h"
#include "splash_wnd.h"
#include "table_view.h"

#include <QSessionManager>
#include <QTimer>
#include <algorithm>
#include <utility>

namespace rp {

CRollpouchApp::CRollpouchApp(int& argc, char** argv)
    : CDiceApp(argc, argv, QStringLiteral("Clattermat")) {
    // Every window's icon, and the task bar's match with the desktop entry.
    setWindowIcon(RollpouchIcon());
    setDesktopFileName(QStringLiteral("rollpouch"));
    // Logging out or shutting down: the questions of closing, when the
    // session lets the program ask; Cancel stops the logout.
    connect(this, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
        if (!mainFrame)
            return;
        const bool mayAsk = manager.allowsInteraction();
        if (!mainFrame->QueryEnd(mayAsk))
            manager.cancel();
        if (mayAsk)
            manager.release();
    });
}

CRollpouchApp::~CRollpouchApp() = default;

CRollpouchApp* CRollpouchApp::Instance() {
    return qobject_cast<CRollpouchApp*>(QCoreApplication::instance());
}

int CRollpouchApp::Run() {
    if (!InitInstance(arguments().mid(1)))
        return 0;
    const int status = exec();
    ExitInstance();
    return status;
}

bool CRollpouchApp::InitInstance(const QStringList& arguments, const QString& instanceName) {
    CCommandLineInfoEx commandLine;
    commandLine.ParseCommandLine(arguments);
    // Listening from the first moment: what later starts hand over waits
    // until the trays of this start are open.
    handedOver = false;
    startFailed = false;
    waitingPaths.clear();
    skippedPaths = 0;
    startedTrays = false;
    singleInstance = std::make_unique<CSingleInstance>(instanceName);
    connect(singleInstance.get(), &CSingleInstance::OpenRequested, this,
            &CRollpouchApp::OpenRequested);
    if (singleInstance->Claim(commandLine.files))
        return false;
    // The splash stays responsive through ProcessEvents between the steps.
    CSplashWnd::ShowSplash(commandLine.ShowSplash());

    mainFrame = std::make_unique<CMainFrame>(*this);
    CSplashWnd::ProcessEvents();

    const bool reopen = commandLine.files.isEmpty() && settings.GetOpenLast();
    const QStringList files = reopen ? settings.ReadOpenFileList().paths : commandLine.files;
    if (settings.GetShowState(CSettings::kShowNormal) == CSettings::kShowMaximized)
        mainFrame->showMaximized();
    else
        mainFrame->show();
    // Opened once the event loop runs, so that the message about a file that
    // cannot be opened does not hold up the rest (nor a screenshot).
    CMainFrame* frame = mainFrame.get();
    QTimer::singleShot(0, frame, [this, frame, files, reopen] {
        if (files.isEmpty() && !reopen && waitingPaths.isEmpty())
            frame->NewTray();
        frame->OpenTrays(files);
        OpenHandedOver();
        // None of the files named on the command line opened, and no later
        // start handed any over meanwhile: the start has failed.
        if (!reopen && !files.isEmpty() && frame->TrayFrames().isEmpty() && !handedOver) {
            startFailed = true;
            exit(1);
        }
    });
    ScheduleScreenshotFromEnvironment(frame);
    return true;
}

void CRollpouchApp::ExitInstance() {
    mainFrame.reset();
    singleInstance.reset();
}

void CRollpouchApp::OpenRequested(const QStringList& paths) {
    handedOver = true;
    // One request opens at most kMaxHandedOver files.
    waitingPaths.append(paths.mid(0, kMaxHandedOver));
    skippedPaths += static_cast<int>(std::max<qsizetype>(0, paths.size() - kMaxHandedOver));
    // Before the start's own trays are open, the paths wait for them.
    if (startedTrays)
        OpenHandedOver();
}

void CRollpouchApp::OpenHandedOver() {
    startedTrays = true;
    if (!mainFrame || !handedOver)
        return;
    mainFrame->OpenTrays(std::exchange(waitingPaths, {}), std::exchange(skippedPaths, 0));
    BringToFront(mainFrame.get());
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

void CRollpouchApp::SetActiveView(QWidget* surface) {
    activeView = surface;
}

void CRollpouchApp::RepaintActiveView() {
    if (activeView)
        activeView->repaint();
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
