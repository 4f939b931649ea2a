#pragma once

#include "commands.h"
#include "dice_app.h"
#include "settings.h"
#include "shell_host.h"
#include "single_instance.h"
#include "tray_host.h"

#include <QPointer>
#include <memory>

namespace rp {

class CMainFrame;

// The Rollpouch program. It is every tray's host: roll sounds while
// "PlaySound" is on, the die colour and roll delay from the settings, the
// active view repainted during a roll, and the width of a tray's first view.
// It is the shell's host, and the last stop of the command route: it shows
// the about box.
class CRollpouchApp : public CDiceApp, public ITrayHost, public ICommandTarget, public IShellHost {
    Q_OBJECT
public:
    // The width a tray is arranged in while it has no view.
    static constexpr int kDefaultViewWidth = 1000;
    // One hand-over opens at most this many files.
    static constexpr int kMaxHandedOver = 1000;

    CRollpouchApp(int& argc, char** argv);
    ~CRollpouchApp() override;

    // The running application, or null when it is not Rollpouch.
    static CRollpouchApp* Instance();

    // Starts the program (InitInstance with the command line), runs until
    // the main window closes, then ends it (ExitInstance); 0 at once when
    // another instance took the files.
    int Run();
    // Start-up, in order: reads the command line (only "-" starts a switch);
    // hands its files to a running instance and returns false if one takes
    // them; shows the splash unless "-nologo"; creates the main window; from
    // then on takes the files of later starts; shows the window in its
    // stored state; then, once the event loop runs, opens the command line's
    // trays, or with "OpenLast" and none named the trays open at the last
    // exit, or else one new tray.
    bool InitInstance(const QStringList& arguments,
                      const QString& instanceName = CSingleInstance::DefaultServerName());
    // Closes the main window's trays without asking and stops listening.
    void ExitInstance();
    CMainFrame* MainFrame() const { return mainFrame.get(); }
    // None of the command line's files opened: the program ends after the
    // messages instead of keeping an empty window.
    bool StartFailed() const { return startFailed; }

    void PlayRollSound(int diceCount) override;
    QString GetDieColor() const override;
    int GetRollDelay() const override;
    void RepaintActiveView() override;
    int GetViewClientWidth(const CTableDoc& document) const override;

    CSettings& Settings() override { return settings; }
    const CSettings& Settings() const { return settings; }
    CRollLog& RollLog() override { return CDiceApp::RollLog(); }
    ITrayHost& TrayHost() override { return *this; }
    // The surface of the view that last had the focus, while it lives.
    void SetActiveView(QWidget* surface) override;
    ICommandTarget& LastCommandTarget() override { return *this; }

    bool UpdateCommand(int id, CCmdUI& ui) override;
    bool OnCommand(int id) override;

private:
    // A later start's files: opened (or their trays activated) once this
    // start's own are, and the main window comes to the front.
    void OpenRequested(const QStringList& paths);
    void OpenHandedOver();

    CSettings settings;
    QPointer<QWidget> activeView;
    std::unique_ptr<CSingleInstance> singleInstance;
    std::unique_ptr<CMainFrame> mainFrame;
    bool handedOver = false;
    bool startFailed = false;
    // Handed over before this start had opened its own trays.
    QStringList waitingPaths;
    int skippedPaths = 0;
    bool startedTrays = false;
};

} // namespace rp
