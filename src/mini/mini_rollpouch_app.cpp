#include "mini_rollpouch_app.h"

#include "mini_rollpouch_dlg.h"
#include "screenshot.h"

namespace rp {

CMiniRollpouchApp::CMiniRollpouchApp(int& argc, char** argv)
    : CDiceApp(argc, argv, QStringLiteral("MiniRollpouch")) {
    setWindowIcon(MiniRollpouchIcon());
    setDesktopFileName(QStringLiteral("minirollpouch"));
}

int CMiniRollpouchApp::Run() {
    CMiniRollpouchDlg dialog;
    ScheduleScreenshotFromEnvironment(&dialog);
    dialog.exec();
    return 0;
}

} // namespace rp
