#include "shell_icons.h"

namespace rp {

namespace {
QIcon SizedIcon(const QString& baseName) {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1-%2.png").arg(baseName).arg(size),
                     QSize(size, size));
    return icon;
}
} // namespace

QIcon RollpouchIcon() {
    return SizedIcon(QStringLiteral("rollpouch"));
}

QIcon TrayDocumentIcon() {
    return SizedIcon(QStringLiteral("application-x-rollpouch"));
}

QIcon ToolbarIcon(const QString& themeName, const QString& ownName) {
    if (!themeName.isEmpty() && QIcon::hasThemeIcon(themeName))
        return QIcon::fromTheme(themeName);
    // Both are added: Qt looks for NAME@2x.png by itself only when a
    // high-density screen is there at start, and one may be plugged in later.
    QIcon icon;
    icon.addFile(QStringLiteral(":/toolbar/%1.png").arg(ownName), QSize(16, 16));
    icon.addFile(QStringLiteral(":/toolbar/%1@2x.png").arg(ownName), QSize(32, 32));
    return icon;
}

} // namespace rp
