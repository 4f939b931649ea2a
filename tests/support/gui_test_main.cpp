// Runs a GUI test suite inside a CDiceApp on the offscreen platform, with
// settings in a temporary folder and sounds recorded instead of played.
#include "gui_test_main.h"

#include "dice_app.h"
#include "roll_sound_player.h"

#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace rp::test {

namespace {

QStringList g_played;
QString g_settingsFolder;

class RecordingPlayer : public IRollSoundPlayer {
public:
    void Play(const QString& name) override { g_played.append(name); }
};

} // namespace

QStringList TakePlayedSounds() {
    QStringList played;
    played.swap(g_played);
    return played;
}

QString SettingsFolder() {
    return g_settingsFolder;
}

} // namespace rp::test

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settings;
    if (!settings.isValid())
        return 1;
    // Never the real user's settings: both the XDG folder and Qt's own path.
    qputenv("XDG_CONFIG_HOME", settings.path().toUtf8());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    rp::test::g_settingsFolder = settings.path();

    rp::CDiceApp app(argc, argv, QStringLiteral("RollpouchTests"));
    app.SetSoundPlayer(std::make_unique<rp::test::RecordingPlayer>());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
