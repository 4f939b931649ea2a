#pragma once

#include <QIcon>

namespace rp {

// Rollpouch's program icon, in every size it ships.
QIcon RollpouchIcon();
// The icon of a tray document (application/x-rollpouch).
QIcon TrayDocumentIcon();

// A toolbar button's icon: the desktop theme's `themeName` when the theme
// has it, otherwise our own ":/toolbar/OWNNAME.png" with its @2x picture.
// An empty theme name always gives our own.
QIcon ToolbarIcon(const QString& themeName, const QString& ownName);

} // namespace rp
