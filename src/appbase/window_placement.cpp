#include "window_placement.h"

#include "settings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

namespace rp {

namespace {

// The room assumed when there is no screen at all.
constexpr QRect kNoScreenRoom(0, 0, 1024, 768);

QString Key(const QString& group, const char* name) {
    return group + QLatin1Char('/') + QLatin1String(name);
}

} // namespace

WindowPlacement PlaceWindow(const QRect& stored, QSize proposed, const QList<QRect>& screens) {
    const QRect primary = screens.value(0, kNoScreenRoom);
    if (!stored.isValid())
        return {proposed.boundedTo(primary.size()), std::nullopt};
    for (const QRect& screen : screens)
        if (screen.contains(stored.center()))
            return {stored.size().boundedTo(screen.size()), stored.topLeft()};
    return {stored.size().boundedTo(primary.size()), std::nullopt};
}

QList<QRect> AvailableScreenAreas() {
    QList<QRect> areas;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary)
        areas.append(primary->availableGeometry());
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen != primary)
            areas.append(screen->availableGeometry());
    if (areas.isEmpty())
        areas.append(kNoScreenRoom);
    return areas;
}

void RestoreWindowRect(QWidget& window, const QRect& stored, QSize proposed) {
    const WindowPlacement placement = PlaceWindow(stored, proposed, AvailableScreenAreas());
    if (placement.position)
        window.setGeometry(QRect(*placement.position, placement.size));
    else
        window.resize(placement.size);
}

QRect ReadWindowRect(const QSettings& store, const QString& group, const QRect& fallback) {
    return QRect(ReadIntSetting(store, Key(group, "WindowLeft"), fallback.x()),
                 ReadIntSetting(store, Key(group, "WindowTop"), fallback.y()),
                 ReadIntSetting(store, Key(group, "WindowWidth"), fallback.width()),
                 ReadIntSetting(store, Key(group, "WindowHeight"), fallback.height()));
}

void WriteWindowRect(QSettings& store, const QString& group, const QRect& rect) {
    store.setValue(Key(group, "WindowLeft"), rect.x());
    store.setValue(Key(group, "WindowTop"), rect.y());
    store.setValue(Key(group, "WindowWidth"), rect.width());
    store.setValue(Key(group, "WindowHeight"), rect.height());
}

} // namespace rp
