#include "text_metrics.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>

namespace rp {

namespace {
QSize Measure(const QFontMetrics& metrics, const QString& text) {
    return QSize(metrics.horizontalAdvance(text), metrics.height());
}
} // namespace

QSize MeasureText(const QPainter& painter, const QString& text) {
    return Measure(painter.fontMetrics(), text);
}

QSize MeasureClientText(const QString& text) {
    // Geometry asks for the same few texts over and over (titles, labels,
    // "= 99"), and shaping text is slow: remember the sizes while the font
    // stays the same.
    static QFont font = QGuiApplication::font();
    static QFontMetrics metrics(font);
    static QHash<QString, QSize> sizes;
    constexpr qsizetype kMaxRemembered = 4096;
    if (const QFont current = QGuiApplication::font(); current != font) {
        font = current;
        metrics = QFontMetrics(font);
        sizes.clear();
    }
    if (const auto it = sizes.constFind(text); it != sizes.constEnd())
        return *it;
    if (sizes.size() >= kMaxRemembered)
        sizes.clear();
    return *sizes.insert(text, Measure(metrics, text));
}

} // namespace rp
