#include "labels.h"

#include "text_metrics.h"

#include <QPainter>

namespace rp {

QString ModifierLabelText(int modifier) {
    if (modifier == 0)
        return {};
    const QString text = QString::number(modifier);
    return text.startsWith('-') ? text : QStringLiteral("+") + text;
}

QString MultiplierLabelText(const QString& multiplierText) {
    return multiplierText == QLatin1String("1") ? QString() : multiplierText + QStringLiteral(" x");
}

CRect ModifierLabelRect(const CRect& anchor, QSize text) {
    return CRect::FromPointSize(anchor.right, anchor.top, text.width(), text.height());
}

CRect MultiplierLabelRect(const CRect& anchor, QSize text) {
    return CRect{anchor.left - text.width(), anchor.top, anchor.left, anchor.top + text.height()};
}

CRect JoinLabels(const CRect& anchor, int modifier, const CFraction& multiplier) {
    CRect bounds = anchor;
    const QString modifierText = ModifierLabelText(modifier);
    if (!modifierText.isEmpty())
        bounds = bounds.Join(ModifierLabelRect(anchor, MeasureClientText(modifierText)));
    const QString multiplierText = MultiplierLabelText(QString::fromStdString(multiplier.Format()));
    if (!multiplierText.isEmpty())
        bounds = bounds.Join(MultiplierLabelRect(anchor, MeasureClientText(multiplierText)));
    return bounds;
}

void DrawLabels(QPainter& dc, const CRect& anchor, int modifier, const CFraction& multiplier) {
    const QString modifierText = ModifierLabelText(modifier);
    if (!modifierText.isEmpty())
        DrawPlainText(dc, ModifierLabelRect(anchor, MeasureText(dc, modifierText)), modifierText);
    const QString multiplierText = MultiplierLabelText(QString::fromStdString(multiplier.Format()));
    if (!multiplierText.isEmpty())
        DrawPlainText(dc, MultiplierLabelRect(anchor, MeasureText(dc, multiplierText)),
                      multiplierText);
}

void DrawPlainText(QPainter& dc, const CRect& rect, const QString& text) {
    dc.drawText(QRect(rect.left, rect.top, std::max(rect.Width(), 0), std::max(rect.Height(), 0)),
                Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip, text);
}

void DrawFrame(QPainter& dc, const CRect& rect, const QColor& colour, Qt::PenStyle style) {
    dc.save();
    dc.setPen(QPen(colour, 0, style));
    dc.setBrush(Qt::NoBrush);
    dc.drawRect(rect.OutlineRect());
    dc.restore();
}

} // namespace rp
