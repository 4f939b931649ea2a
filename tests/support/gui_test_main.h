#pragma once

#include <QString>
#include <QStringList>
#include <ostream>

// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace rp::test {

// The sounds asked for since the last call, oldest first; clears the log.
QStringList TakePlayedSounds();

// The temporary folder the tests' settings live in.
QString SettingsFolder();

} // namespace rp::test
