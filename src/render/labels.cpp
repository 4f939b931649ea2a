#include "labels.h"

#include "stamps.h"
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

namespace {

// Calls use(rect, text) for each label that shows, modifier first.
template <typename Use>
void ForEachLabel(const CRect& anchor, int modifier, const CFraction& multiplier, Use use) {
    const QString modifierText = ModifierLabelText(modifier);
    if (!modifierText.isEmpty())
        use(ModifierLabelRect(anchor, MeasureClientText(modifierText)), modifierText);
    if (multiplier.IsOne()) // no label, and no text to format
        return;
    const QString multiplierText = MultiplierLabelText(QString::fromStdString(multiplier.Format()));
    if (!multiplierText.isEmpty())
        use(MultiplierLabelRect(anchor, MeasureClientText(multiplierText)), multiplierText);
}

} // namespace

CRect JoinLabels(const CRect& anchor, int modifier, const CFraction& multiplier) {
    CRect bounds = anchor;
    ForEachLabel(anchor, modifier, multiplier,
                 [&](const CRect& rect, const QString&) { bounds = bounds.Join(rect); });
    return bounds;
}

void DrawLabels(QPainter& dc, const CRect& anchor, int modifier, const CFraction& multiplier) {
    ForEachLabel(anchor, modifier, multiplier,
                 [&](const CRect& rect, const QString& text) { DrawPlainText(dc, rect, text); });
}

void DrawPlainText(QPainter& dc, const CRect& rect, const QString& text) {
    DrawTextStamp(dc,
                  QRect(rect.left, rect.top, std::max(rect.Width(), 0), std::max(rect.Height(), 0)),
                  Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip, text,
                  dc.pen().color(), dc.background().color());
}

} // namespace rp
