#include "dice_app.h"

#include "random_source.h"
#include "roll_log.h"
#include "roll_sound_player.h"

namespace rp {

CDiceApp::CDiceApp(int& argc, char** argv, const QString& applicationName)
    : QApplication(argc, argv), rollLog(std::make_unique<CRollLog>()),
      soundPlayer(std::make_unique<CRollSoundPlayer>()) {
    setOrganizationName(QString::fromLatin1(kOrganization));
    setApplicationName(applicationName);
    // ROLLPOUCH_SEED=N makes a run's rolls repeatable (pictures, bug reports).
    bool seeded = false;
    const uint seed = qEnvironmentVariable("ROLLPOUCH_SEED").toUInt(&seeded);
    if (seeded)
        random_source::Seed(seed);
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
