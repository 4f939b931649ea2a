#pragma once

#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>
#include <ostream>

class QWidget;

// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace rp {
class CDiceApp;
}

namespace rp::test {

// The sounds asked for since the last call, oldest first; clears the log.
QStringList TakePlayedSounds();

// The temporary folder the tests' settings live in.
QString SettingsFolder();

// For the dialog answerers of GUI tests: a modal dialog nobody expected
// fails the test, naming its title and text, and is closed so that the
// test goes on instead of waiting in its event loop.
void FailUnexpectedDialog(QWidget* modal);

// Answers the modal dialogs that open while it lives: every few
// milliseconds `answer` is given the active modal dialog, once it shows.
class CDialogAnswerer : public QTimer {
public:
    explicit CDialogAnswerer(const std::function<void(QWidget*)>& answer);
};

// Runs `action` while `answer` deals with each modal dialog it opens.
void WithDialogs(const std::function<void()>& action, const std::function<void(QWidget*)>& answer);

// Runs `action`, accepting every message box it opens; returns their texts.
QStringList AnsweringMessages(const std::function<void()>& action);

// Shows `window` and makes it the active window; false if it never becomes active.
[[nodiscard]] bool ShowActive(QWidget& window);

// Runs every test inside the application `makeApp` creates, on the
// offscreen platform unless QT_QPA_PLATFORM names another, with settings in
// a temporary folder and sounds recorded instead of played.
int RunGuiTests(int argc, char** argv,
                const std::function<std::unique_ptr<CDiceApp>(int&, char**)>& makeApp);

} // namespace rp::test
