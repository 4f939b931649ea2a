#include "dice_app.h"

#include "roll_log.h"
#include "roll_sound_player.h"

namespace rp {

CDiceApp::CDiceApp(int& argc, char** argv, const QString& applicationName)
    : QApplication(argc, argv), rollLog(std::make_unique<CRollLog>()),
      soundPlayer(std::make_unique<CRollSoundPlayer>()) {
    setOrganizationName(QString::fromLatin1(kOrganization));
    setApplicationName(applicationName);
}

CDiceApp::~CDiceApp() = default;

CDiceApp* CDiceApp::Instance() {
    return qobject_cast<CDiceApp*>(QCoreApplication::instance());
}

void CDiceApp::PlayRollSound(int count) {
    if (count == 0 || !soundPlayer)
        return;
    soundPlayer->Play(count == 1 ? kRollOneSound : kRollManySound);
}

void CDiceApp::SetSoundPlayer(std::unique_ptr<IRollSoundPlayer> player) {
    soundPlayer = std::move(player);
}

} // namespace rp
