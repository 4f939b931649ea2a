#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <limits>
#include <optional>

class QSettings;
class QString;
class QWidget;

namespace rp {

// The position of a window never placed: it lies on no screen.
inline constexpr QPoint kNowhere{std::numeric_limits<int>::min() / 2,
                                 std::numeric_limits<int>::min() / 2};

// Where a restored window goes: its size, and its position unless the window
// manager is to place it.
struct WindowPlacement {
    QSize size;
    std::optional<QPoint> position;
};

// The placement of a window stored as `stored` (invalid: never stored, then
// `proposed` is its size), among screens whose available areas are `screens`,
// the primary first. The screen holding the stored centre keeps the position;
// on none, the window manager places the window. Either way the size is
// never larger than that screen (else the primary), so the edges stay in reach.
WindowPlacement PlaceWindow(const QRect& stored, QSize proposed, const QList<QRect>& screens);

// The available area of each screen there is now, the primary first; with
// no screen at all, a room of 1024 by 768.
QList<QRect> AvailableScreenAreas();

// Restores `window` from `stored` on the screens there are now (see PlaceWindow).
void RestoreWindowRect(QWidget& window, const QRect& stored, QSize proposed);

// A window's rectangle as kept under `group` of `store`; each missing value
// comes from `fallback`.
QRect ReadWindowRect(const QSettings& store, const QString& group, const QRect& fallback);
void WriteWindowRect(QSettings& store, const QString& group, const QRect& rect);

} // namespace rp
