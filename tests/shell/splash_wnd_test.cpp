#include "command_line_info_ex.h"
#include "gui_test_main.h"
#include "splash_wnd.h"

#include <QMainWindow>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace rp {
namespace {

CCommandLineInfoEx CommandLine(const QStringList& arguments) {
    CCommandLineInfoEx info;
    info.ParseCommandLine(arguments);
    return info;
}

TEST(SplashWndTest, ShownCentredUnlessNologoAndClosedByAKeyOrAClick) {
    EXPECT_EQ(CSplashWnd::ShowSplash(CommandLine({"-nologo", "tray.rlp"}).ShowSplash()), nullptr);
    EXPECT_EQ(CSplashWnd::ShowSplash(CommandLine({}).ShowSplash(), ":/splash/missing.png"),
              nullptr);

    const std::function<void(QWidget*)> closers[] = {
        [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); },
        [](QWidget* w) { QTest::mouseClick(w, Qt::RightButton, {}, QPoint(10, 10)); },
    };
    for (const auto& close : closers) {
        QPointer<CSplashWnd> splash = CSplashWnd::ShowSplash(CommandLine({"-NOLOGO"}).ShowSplash());
        ASSERT_TRUE(splash);
        EXPECT_TRUE(splash->isVisible());
        EXPECT_EQ(splash->size(), QSize(563, 360));
        EXPECT_TRUE(splash->windowFlags() & Qt::FramelessWindowHint);
        EXPECT_EQ(splash->geometry().center(),
                  QGuiApplication::primaryScreen()->availableGeometry().center());
        close(splash);
        EXPECT_TRUE(QTest::qWaitFor([&] { return splash.isNull(); }, 60000));
    }
}

TEST(SplashWndTest, StaysUntilTheMainWindowExists) {
    // Its display time over, it waits for the main window however long it takes.
    QPointer<CSplashWnd> splash = CSplashWnd::ShowSplash(true, CSplashWnd::kPicture, 0);
    ASSERT_TRUE(splash);
    QTest::qWait(2 * CSplashWnd::kWaitStep);
    ASSERT_TRUE(splash) << "closed without a main window";
    QMainWindow main;
    main.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return splash.isNull(); }, 60000));

    // With the main window there, the display time alone counts.
    splash = CSplashWnd::ShowSplash(true, CSplashWnd::kPicture, 3600000);
    QCoreApplication::processEvents();
    EXPECT_TRUE(splash);
    splash->close();
}

} // namespace
} // namespace rp
