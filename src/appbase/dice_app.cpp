#include "dice_app.h"

#include "int_text.h"
#include "random_source.h"
#include "roll_log.h"
#include "roll_sound_player.h"

#include <cstdint>
#include <limits>
#include <string_view>

namespace rp {

CDiceApp::CDiceApp(int& argc, char** argv, const QString& applicationName)
    : QApplication(argc, argv), rollLog(std::make_unique<CRollLog>()),
      soundPlayer(std::make_unique<CRollSoundPlayer>()) {
    setOrganizationName(QString::fromLatin1(kOrganization));
    setApplicationName(applicationName);
    // ROLLPOUCH_SEED=N makes a run's rolls repeatable (pictures, bug reports).
    // Anything but a whole number in the generator's range is ignored.
    const QByteArray bytes = qgetenv("ROLLPOUCH_SEED");
    const std::string_view text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (const auto seed = ParseInteger(text, 0, std::numeric_limits<std::uint32_t>::max()))
        random_source::Seed(static_cast<std::uint32_t>(*seed));
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
