// Runs GUI test suites inside an application on the offscreen platform,
// with settings in a temporary folder and sounds recorded instead of played;
// shows their windows and answers their dialogs.
#include "dice_app.h"
#include "gui_test_main.h"
#include "roll_sound_player.h"

#include <QApplication>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QtWidgets/qtestsupport_widgets.h>
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

void FailUnexpectedDialog(QWidget* modal) {
    const auto* box = qobject_cast<QMessageBox*>(modal);
    ADD_FAILURE() << "unexpected dialog \"" << modal->windowTitle().toStdString()
                  << "\": " << (box ? box->text().toStdString() : std::string());
    modal->close();
}

CDialogAnswerer::CDialogAnswerer(const std::function<void(QWidget*)>& answer) {
    connect(this, &QTimer::timeout, [answer] {
        if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible())
            answer(modal);
    });
    start(5);
}

void WithDialogs(const std::function<void()>& action, const std::function<void(QWidget*)>& answer) {
    const CDialogAnswerer answerer(answer);
    action();
}

QStringList AnsweringMessages(const std::function<void()>& action) {
    QStringList texts;
    WithDialogs(action, [&texts](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            texts.append(box->text());
            box->accept();
        }
    });
    return texts;
}

bool ShowActive(QWidget& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

int RunGuiTests(int argc, char** argv,
                const std::function<std::unique_ptr<CDiceApp>(int&, char**)>& makeApp) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settings;
    if (!settings.isValid())
        return 1;
    // Never the real user's settings: both the XDG folder and Qt's own path.
    qputenv("XDG_CONFIG_HOME", settings.path().toUtf8());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    g_settingsFolder = settings.path();

    const std::unique_ptr<CDiceApp> app = makeApp(argc, argv);
    app->SetSoundPlayer(std::make_unique<RecordingPlayer>());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

} // namespace rp::test
