#include "gui_test_main.h"
#include "main_frame.h"
#include "rollpouch_app.h"
#include "single_instance.h"
#include "splash_wnd.h"
#include "table_doc.h"
#include "table_frame.h"
#include "table_view.h"
#include "test_files.h"
#include "without_pictures.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace rp {
namespace {

// Rollpouch's start, session and close, with settings cleared before each
// test. Modal questions and file dialogs are answered in turn.
class StartUpTest : public test::WithoutDiePictures {
protected:
    void SetUp() override {
        WithoutDiePictures::SetUp();
        QSettings().clear();
    }
    // A message box's button by its text, or the name typed into a file dialog.
    void Respond(QWidget* modal) {
        if (answers.isEmpty())
            return test::FailUnexpectedDialog(modal);
        const QString answer = answers.takeFirst();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            for (QAbstractButton* button : box->buttons())
                if (button->text().remove('&') == answer)
                    button->click();
        } else if (auto* files = qobject_cast<QFileDialog*>(modal)) {
            shownFolder = files->directory().absolutePath();
            files->findChild<QLineEdit*>("fileNameEdit")->setText(answer);
            QMetaObject::invokeMethod(files, "accept");
        }
    }
    void TearDown() override {
        App()->ExitInstance();
        WithoutDiePictures::TearDown();
    }
    static CRollpouchApp* App() { return CRollpouchApp::Instance(); }
    static CSettings& Settings() { return App()->Settings(); }
    QString Write(const QString& name) { return test::WriteFile(dir.filePath(name)); }
    // Starts as from a command line; the trays open in the first turn of the event loop.
    bool Start(const QStringList& arguments) {
        App()->ExitInstance();
        const bool started = App()->InitInstance(arguments, dir.filePath("instance"));
        QCoreApplication::processEvents();
        return started;
    }
    static QStringList TrayTitles() {
        QStringList titles;
        for (const CTableFrame* frame : App()->MainFrame()->TrayFrames())
            titles.append(frame->Document()->GetTitle());
        return titles;
    }
    static CSplashWnd* Splash() {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* splash = qobject_cast<CSplashWnd*>(widget); splash && splash->isVisible())
                return splash;
        return nullptr;
    }

    QTemporaryDir dir;
    QStringList answers;
    QString shownFolder;
    test::CDialogAnswerer answerer{[this](QWidget* modal) { Respond(modal); }};
};

TEST_F(StartUpTest, OpenLastReopensTheListOnlyWhenTheCommandLineNamesNoFile) {
    const QString a = Write("a.rlp"), b = Write("b.xml"), c = Write("c.rlp");
    Settings().SetOpenLast(true);
    Settings().SaveOpenFileList({{a, false}, {b, true}});
    const struct {
        QStringList arguments;
        bool openLast;
        QStringList trays;
    } starts[] = {
        {{"-nologo", c}, true, {"c.rlp"}},
        {{"--nologo"}, true, {"a.rlp", "b.xml"}},
        {{"-nologo"}, false, {"Rollpouch1"}},
    };
    for (const auto& start : starts) {
        Settings().SetOpenLast(start.openLast);
        ASSERT_TRUE(Start(start.arguments));
        EXPECT_EQ(TrayTitles(), start.trays) << start.arguments.join(' ').toStdString();
    }
    Settings().SetOpenLast(true);
    Settings().ClearOpenFileList();
    ASSERT_TRUE(Start({"-nologo"}));
    EXPECT_EQ(TrayTitles(), QStringList()); // not even a new tray
}

TEST_F(StartUpTest, NologoSuppressesTheSplashAndAKeyClosesItEarly) {
    ASSERT_TRUE(Start({"-nologo"}));
    EXPECT_EQ(Splash(), nullptr);
    ASSERT_TRUE(Start({"-NOLOGO"}));
    const QPointer<CSplashWnd> splash = Splash();
    ASSERT_TRUE(splash);
    QTest::keyClick(splash, Qt::Key_Space); // long before its display time is over
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(splash.isNull());
}

TEST_F(StartUpTest, ALaterStartHandsItsFilesToTheRunningOne) {
    const QString a = Write("a.rlp");
    // This start finds another instance running, which takes its files.
    std::atomic<bool> listening = false;
    QStringList received;
    std::thread running([&] {
        QEventLoop loop;
        CSingleInstance instance(dir.filePath("instance"));
        listening = instance.Listen();
        QObject::connect(&instance, &CSingleInstance::OpenRequested, [&](const QStringList& paths) {
            received = paths;
            loop.quit();
        });
        if (listening)
            loop.exec();
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return listening.load(); }, 60000));
    EXPECT_FALSE(App()->InitInstance({a}, dir.filePath("instance")));
    running.join();
    EXPECT_EQ(received, QStringList({a}));
    EXPECT_EQ(App()->MainFrame(), nullptr);
    EXPECT_EQ(Splash(), nullptr);

    // Now this one runs, and a later start hands it the same file twice.
    ASSERT_TRUE(Start({"-nologo"}));
    for (int i = 0; i < 2; ++i) {
        std::atomic<bool> served = false;
        std::thread later(
            [&] { served = CSingleInstance(dir.filePath("instance")).HandToRunning({a}); });
        EXPECT_TRUE(QTest::qWaitFor([&] { return served.load(); }, 60000));
        later.join();
    }
    EXPECT_EQ(TrayTitles(), QStringList({"Rollpouch1", "a.rlp"})); // opened once
}

TEST_F(StartUpTest, TheFirstTrayWindowOpensAsTheLastOneClosed) {
    ASSERT_TRUE(Start({"-nologo"}));
    CTableFrame* first = App()->MainFrame()->TrayFrames().value(0);
    ASSERT_TRUE(first && first->isMaximized()); // by default
    first->showNormal();
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Settings().GetChildWindowsMaximized(), CSettings::kShowNormal);
    ASSERT_TRUE(Start({"-nologo"}));
    EXPECT_FALSE(App()->MainFrame()->TrayFrames().value(0)->isMaximized());
    App()->MainFrame()->TrayFrames().value(0)->showMaximized();
    ASSERT_TRUE(Start({"-nologo"})); // the last window closes with the program
    EXPECT_TRUE(App()->MainFrame()->TrayFrames().value(0)->isMaximized());
}

TEST_F(StartUpTest, ClosingStoresThePlaceAndOnNoScreenOnlyTheSizeIsKept) {
    {
        CMainFrame frame{*App()};
        frame.setGeometry(100, 120, 640, 480);
        frame.show();
        frame.showMaximized();
        ASSERT_TRUE(QTest::qWaitFor([&] { return frame.isMaximized(); }, 60000));
        frame.close();
    }
    EXPECT_EQ(Settings().GetShowState(0), CSettings::kShowMaximized);
    EXPECT_EQ(Settings().GetWindowRect({}), QRect(100, 120, 640, 480));
    EXPECT_EQ(CMainFrame(*App()).geometry(), QRect(100, 120, 640, 480));
    Settings().SetWindowRect(QRect(-9000, 50, 500, 400));
    const CMainFrame lost(*App());
    EXPECT_EQ(lost.size(), QSize(500, 400));
    EXPECT_NE(lost.pos(), QPoint(-9000, 50));
}

TEST_F(StartUpTest, TheListIsWrittenOnlyOnceTheCloseGoesAheadAndWithoutUntitledTrays) {
    const QString a = Write("a.rlp");
    Settings().SetOpenLast(true);
    Settings().SaveOpenFileList({{Write("old.rlp"), true}});
    ASSERT_TRUE(Start({"-nologo", a}));
    CMainFrame& frame = *App()->MainFrame();
    frame.TrayFrames()[0]->View()->AddDiceAtFreeSpot(6, 1);
    frame.NewTray()->View()->AddDiceAtFreeSpot(4, 1);
    frame.NewTray(); // untitled and unchanged: never listed

    answers = {"Cancel"};
    EXPECT_FALSE(frame.close());
    EXPECT_EQ(Settings().ReadOpenFileList().paths, QStringList({dir.filePath("old.rlp")}));

    // The second tray is saved for the first time at its question, and listed.
    answers = {"Yes", "Yes", dir.filePath("new")};
    EXPECT_TRUE(frame.close());
    const OpenFileList list = Settings().ReadOpenFileList();
    EXPECT_EQ(list.paths, QStringList({a, dir.filePath("new.rlp")}));
    EXPECT_EQ(list.currentIndex, 0); // the active tray was untitled
}

TEST_F(StartUpTest, OpenStartsInTheTraysFolderAndMakesAMissingNameAnEmptyTray) {
    const QString a = Write("a.rlp");
    ASSERT_TRUE(Start({"-nologo", a}));
    answers = {"fresh"};
    App()->MainFrame()->Open();
    EXPECT_EQ(shownFolder, dir.path()); // the active tray's folder
    EXPECT_TRUE(QFile::exists(dir.filePath("fresh.rlp")));
    EXPECT_EQ(TrayTitles(), QStringList({"a.rlp", "fresh.rlp"}));
}

TEST_F(StartUpTest, AStartEndsWhenNoneOfItsFilesOpens) {
    const QString missing = dir.filePath("missing.rlp");
    answers = {"OK"};
    ASSERT_TRUE(Start({"-nologo", missing}));
    EXPECT_TRUE(App()->StartFailed());
    // The failed start asked the application to exit, which ends every event
    // loop started from now on: one turn of the application's own loop takes
    // that back, so that later menus and dialogs in this process run.
    QTimer::singleShot(0, App(), [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    answers = {"OK"};
    ASSERT_TRUE(Start({"-nologo", missing, Write("good.rlp")}));
    EXPECT_FALSE(App()->StartFailed());
    EXPECT_EQ(TrayTitles(), QStringList({"good.rlp"}));
}

} // namespace
} // namespace rp
