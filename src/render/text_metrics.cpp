#include "text_metrics.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>

namespace rp {

namespace {

// The tray font and what was measured in it, rebuilt when the application
// font changes (settings, a style change).
struct TrayFontState {
    QFont applicationFont;
    QFont font;
    QFontMetrics metrics{QFont()};
    QHash<QString, QSize> sizes;
};

TrayFontState& State() {
    static TrayFontState state;
    static bool built = false;
    const QFont current = QGuiApplication::font();
    if (!built || current != state.applicationFont) {
        built = true;
        state.applicationFont = current;
        state.font = current;
        if (current.pixelSize() <= 0)
            state.font.setPixelSize(std::max(1, QFontInfo(current).pixelSize()));
        state.metrics = QFontMetrics(state.font);
        state.sizes.clear();
    }
    return state;
}

} // namespace

QFont TrayFont() {
    return State().font;
}

QSize MeasureClientText(const QString& text) {
    // Geometry asks for the same few texts over and over (titles, labels,
    // "= 99"), and shaping text is slow: remember the sizes while the font
    // stays the same.
    TrayFontState& state = State();
    constexpr qsizetype kMaxRemembered = 4096;
    if (const auto it = state.sizes.constFind(text); it != state.sizes.constEnd())
        return *it;
    if (state.sizes.size() >= kMaxRemembered)
        state.sizes.clear();
    return *state.sizes.insert(
        text, QSize(state.metrics.horizontalAdvance(text), state.metrics.height()));
}

} // namespace rp
