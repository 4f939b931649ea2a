#include "text_metrics.h"

#include <QFontMetrics>
#include <QGuiApplication>
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
    return Measure(QFontMetrics(QGuiApplication::font()), text);
}

} // namespace rp
