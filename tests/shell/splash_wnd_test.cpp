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
    EXPECT_EQ(CSplashWnd::ShowSplash(CommandLine({"-nologo", "tray.rlp"})), nullptr);
    EXPECT_EQ(CSplashWnd::ShowSplash(CommandLine({}), ":/splash/missing.png"), nullptr);

    const std::function<void(QWidget*)> closers[] = {
        [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); },
        [](QWidget* w) { QTest::mouseClick(w, Qt::RightButton, {}, QPoint(10, 10)); },
    };
    for (const auto& close : closers) {
        QPointer<CSplashWnd> splash = CSplashWnd::ShowSplash(CommandLine({"-NOLOGO"}));
        ASSERT_TRUE(splash);
        EXPECT_TRUE(splash->isVisible());
        EXPECT_EQ(splash->size(), QSize(563, 360));
        EXPECT_TRUE(splash->windowFlags() & Qt::FramelessWindowHint);
        EXPECT_EQ(splash->geometry().center(),
                  QGuiApplication::primaryScreen()->availableGeometry().center());
        close(splash);
        EXPECT_TRUE(QTest::qWaitFor([&] { return splash.isNull(); }, 1000));
    }
}

TEST(SplashWndTest, StaysUntilTheMainWindowExists) {
    QPointer<CSplashWnd> splash = CSplashWnd::ShowSplash({}, CSplashWnd::kPicture, 50);
    ASSERT_TRUE(splash);
    QTest::qWait(300);
    ASSERT_TRUE(splash) << "closed without a main window";
    QMainWindow main;
    main.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return splash.isNull(); }, 1000));

    // With the main window there, the display time alone counts.
    splash = CSplashWnd::ShowSplash({}, CSplashWnd::kPicture, 600);
    QTest::qWait(100);
    EXPECT_TRUE(splash);
    EXPECT_TRUE(QTest::qWaitFor([&] { return splash.isNull(); }, 2000));
}

} // namespace
} // namespace rp
