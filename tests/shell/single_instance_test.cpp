#include "gui_test_main.h"
#include "single_instance.h"
#include "test_files.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <thread>

namespace rp {
namespace {

class SingleInstanceTest : public ::testing::Test {
protected:
    QString Name(const char* name) const { return dir.filePath(QLatin1String(name)); }
    QTemporaryDir dir;
};

TEST_F(SingleInstanceTest, ALaterStartHandsItsFilesToTheRunningOne) {
    CSingleInstance running(Name("server"));
    ASSERT_TRUE(running.Listen());
    QSignalSpy requests(&running, &CSingleInstance::OpenRequested);

    // A request that claims more paths than it holds is dropped, harmlessly.
    QLocalSocket hostile;
    hostile.connectToServer(Name("server"));
    ASSERT_TRUE(hostile.waitForConnected(60000));
    QByteArray bad;
    QDataStream(&bad, QIODevice::WriteOnly) << quint32{4} << quint32{0xFFFFFFFF};
    hostile.write(bad);
    hostile.flush();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return hostile.state() == QLocalSocket::UnconnectedState; }, 60000));
    EXPECT_EQ(requests.size(), 0);

    // Each later start waits for its answer, so it runs on a thread of its own.
    for (const QStringList& files : {QStringList({"tray.rlp", "/home/ann/b.rlp"}), QStringList()}) {
        bool served = false;
        std::thread later([&] { served = CSingleInstance(Name("server")).HandToRunning(files); });
        const bool received = requests.wait(60000);
        later.join();
        ASSERT_TRUE(received);
        EXPECT_TRUE(served);
    }
    EXPECT_EQ(requests.at(0).at(0).toStringList(),
              QStringList({QDir::current().absoluteFilePath("tray.rlp"), "/home/ann/b.rlp"}));
    EXPECT_EQ(requests.at(1).at(0).toStringList(), QStringList());
}

TEST_F(SingleInstanceTest, NoAnswerInTimeMeansStartingNormally) {
    // Nobody there at all.
    EXPECT_FALSE(CSingleInstance(Name("nobody"), 200).HandToRunning({"a.rlp"}));

    // A live instance that never answers: given up after the timeout, and
    // its name is left alone.
    QLocalServer hung;
    ASSERT_TRUE(hung.listen(Name("hung")));
    CSingleInstance late(Name("hung"), 200);
    EXPECT_FALSE(late.HandToRunning({"a.rlp"}));
    EXPECT_FALSE(late.Listen());

    // A name left behind by an instance that is gone does not block a start.
    test::WriteFile(Name("stale"));
    CSingleInstance fresh(Name("stale"), 200);
    EXPECT_FALSE(fresh.HandToRunning({}));
    EXPECT_TRUE(fresh.Listen());
}

TEST_F(SingleInstanceTest, APeerThatStopsHalfwayIsDropped) {
    CSingleInstance running(Name("server"));
    running.SetRequestTimeLimit(50);
    ASSERT_TRUE(running.Listen());
    QLocalSocket stalled;
    stalled.connectToServer(Name("server"));
    ASSERT_TRUE(stalled.waitForConnected(60000));
    stalled.write("\0\0", 2); // half a length, then nothing
    stalled.flush();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return stalled.state() == QLocalSocket::UnconnectedState; }, 60000));
}

TEST_F(SingleInstanceTest, TwoStartsTogetherMakeOneProgramHoldingBothTrays) {
    const QString program = QCoreApplication::applicationDirPath() + "/Rollpouch";
    for (int round = 0; round < 5; ++round) {
        QTemporaryDir home; // settings, the instance's name and the trays
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", home.filePath("config"));
        environment.insert("XDG_RUNTIME_DIR", home.path());
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        QStringList trays;
        QProcess starts[2];
        for (int i = 0; i < 2; ++i) {
            trays.append(test::WriteFile(home.filePath(QString("tray%1.rlp").arg(i))));
            starts[i].setProcessEnvironment(environment);
        }
        for (int i = 0; i < 2; ++i)
            starts[i].start(program, {"-nologo", trays[i]});
        // One hands its tray over and ends; the other opens both.
        const auto ended = [&] {
            return int(starts[0].state() == QProcess::NotRunning) +
                   int(starts[1].state() == QProcess::NotRunning);
        };
        ASSERT_TRUE(QTest::qWaitFor([&] { return ended() > 0; }, 120000)) << round;
        QProcess& handedOver = starts[starts[0].state() == QProcess::NotRunning ? 0 : 1];
        EXPECT_EQ(handedOver.exitCode(), 0) << round;
        const auto recent = [&] {
            QSettings settings(home.filePath("config/Brackenfold Software/Clattermat.conf"),
                               QSettings::IniFormat);
            settings.beginGroup("Recent File List");
            QStringList paths;
            for (const QString& key : settings.childKeys())
                paths.append(settings.value(key).toString());
            return paths;
        };
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return recent().contains(trays[0]) && recent().contains(trays[1]); }, 120000))
            << round;
        EXPECT_EQ(ended(), 1) << round; // the other still runs, holding both
        for (QProcess& start : starts) {
            start.kill();
            start.waitForFinished();
        }
    }
}

} // namespace
} // namespace rp
