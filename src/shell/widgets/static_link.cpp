#include "static_link.h"

#include <QApplication>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QUrl>

namespace rp {

bool CHyperlink::Navigate() const {
    const QUrl url(*this);
    return url.isValid() && !url.scheme().isEmpty() && QDesktopServices::openUrl(url);
}

CStaticLink::CStaticLink(const QString& text, const CHyperlink& link, QWidget* parent)
    : QLabel(text, parent), link(link) {
    setTextFormat(Qt::PlainText);
    setCursor(Qt::PointingHandCursor);
    // Reachable from the keyboard as well.
    setFocusPolicy(Qt::StrongFocus);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    SetColour(QColor(kUnvisitedColour));
}

void CStaticLink::Open() {
    const CHyperlink target = link.isEmpty() ? CHyperlink(text()) : link;
    if (target.isEmpty())
        return;
    if (target.Navigate())
        SetColour(QColor(kVisitedColour));
    else
        QApplication::beep();
}

void CStaticLink::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        Open();
    else
        QLabel::mousePressEvent(event);
}

void CStaticLink::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Open();
        break;
    default:
        QLabel::keyPressEvent(event);
    }
}

void CStaticLink::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = contentsRect();
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

void CStaticLink::SetColour(const QColor& textColour) {
    colour = textColour;
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, colour);
    setPalette(palette);
}

} // namespace rp
