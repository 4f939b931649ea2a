#pragma once

#include <QString>
#include <QStringList>

class QWidget;
#include <functional>
#include <memory>
#include <ostream>

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

// Runs every test inside the application `makeApp` creates, on the
// offscreen platform unless QT_QPA_PLATFORM names another, with settings in
// a temporary folder and sounds recorded instead of played.
int RunGuiTests(int argc, char** argv,
                const std::function<std::unique_ptr<CDiceApp>(int&, char**)>& makeApp);

} // namespace rp::test
