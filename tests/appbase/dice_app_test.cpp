#include "dice_app.h"
#include "gui_test_main.h"
#include "recent_files.h"
#include "roll_sound_player.h"

#include <QAudioDevice>
#include <QDataStream>
#include <QFile>
#include <QMediaDevices>
#include <QSettings>
#include <QSoundEffect>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace rp {
namespace {

TEST(DiceApp, PlaysTheSoundForTheNumberOfDice) {
    test::TakePlayedSounds();
    for (const int count : {0, 1, 2, 7})
        CDiceApp::Instance()->PlayRollSound(count);
    EXPECT_EQ(test::TakePlayedSounds(),
              QStringList({"IDR_WAVE_ROLL_1", "IDR_WAVE_ROLL_MANY", "IDR_WAVE_ROLL_MANY"}));
}

TEST(DiceApp, SoundResourcesAreMonoSixteenBitWaves) {
    const struct {
        const char* name;
        double seconds;
    } sounds[] = {{":/IDR_WAVE_ROLL_1", 0.62}, {":/IDR_WAVE_ROLL_MANY", 0.82}};
    for (const auto& sound : sounds) {
        QFile file(QString::fromLatin1(sound.name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << sound.name;
        const QByteArray bytes = file.readAll();
        ASSERT_GT(bytes.size(), 44);
        EXPECT_EQ(bytes.left(4), "RIFF");
        EXPECT_EQ(bytes.mid(8, 8), "WAVEfmt ");
        QDataStream in(bytes.mid(20, 16));
        in.setByteOrder(QDataStream::LittleEndian);
        quint16 format, channels, blockAlign, bits;
        quint32 rate, byteRate;
        in >> format >> channels >> rate >> byteRate >> blockAlign >> bits;
        EXPECT_EQ(format, 1); // PCM
        EXPECT_EQ(channels, 1);
        EXPECT_EQ(rate, 44100u);
        EXPECT_EQ(bits, 16);
        const double seconds = (bytes.size() - 44) / 2.0 / 44100.0;
        EXPECT_NEAR(seconds, sound.seconds, 0.03) << sound.name;
    }
}

TEST(DiceApp, RealPlayerNeverBlocks) {
    // Whether or not this machine has an audio output, playing returns at
    // once; without one the player says so once and stays silent.
    static QStringList notes;
    notes.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& text) { notes.append(text); });
    // Nothing blocks: a hang would meet the test's time limit.
    CRollSoundPlayer player;
    for (int i = 0; i < 5; ++i)
        player.Play(i % 2 ? CDiceApp::kRollManySound : CDiceApp::kRollOneSound);
    // The sound effects the player plays on an output return at once from
    // play() even where there is no output to play on.
    QSoundEffect effect;
    effect.setSource(QUrl(QStringLiteral("qrc:/") + CDiceApp::kRollManySound));
    for (int i = 0; i < 5; ++i) {
        effect.stop();
        effect.play();
    }
    // Gone only once its sample has loaded: Qt leaks a load still in flight
    // on its loader thread when the program ends.
    EXPECT_TRUE(QTest::qWaitFor([&] { return effect.status() != QSoundEffect::Loading; }, 60000));
    qInstallMessageHandler(previous);
    const bool hasOutput = !QMediaDevices::defaultAudioOutput().isNull();
    EXPECT_EQ(notes.count("No audio output: roll sounds are off."), hasOutput ? 0 : 1);
}

TEST(RecentFiles, KeepsFourNewestFirst) {
    QSettings().remove("Recent File List");
    CRecentFileList recent;
    for (const char* path : {"/a", "/b", "/c", "/d", "/e", "/c"})
        recent.Add(path);
    EXPECT_EQ(recent.Paths(), QStringList({"/c", "/e", "/d", "/b"}));
    QSettings settings;
    EXPECT_EQ(settings.value("Recent File List/File1").toString(), "/c");
    EXPECT_EQ(settings.value("Recent File List/File4").toString(), "/b");
    EXPECT_EQ(CRecentFileList().Paths(), recent.Paths());
}

} // namespace
} // namespace rp
