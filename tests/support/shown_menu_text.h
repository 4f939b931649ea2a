#pragma once

#include <QAction>
#include <QKeySequence>
#include <QString>

namespace rp::test {

// What a menu shows for an action: its text, then after a tab its shortcut,
// as QMenu draws it when the text holds no tab of its own.
inline QString ShownMenuText(const QAction& action) {
    const QKeySequence key = action.shortcut();
    if (key.isEmpty() || action.text().contains(QLatin1Char('\t')))
        return action.text();
    return action.text() + QLatin1Char('\t') + key.toString(QKeySequence::NativeText);
}

} // namespace rp::test
