#include "flat_spin_button_ctrl.h"

#include "geometry.h"
#include "int_text.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <algorithm>

namespace rp {

namespace {
constexpr int kFirstRepeatMs = 400;
constexpr int kRepeatMs = 80;
} // namespace

CFlatSpinButtonCtrl::CFlatSpinButtonCtrl(QLineEdit* buddy, QWidget* parent)
    : QWidget(parent), buddy(buddy) {
    // A click leaves the focus with the edit (and does not commit it).
    setFocusPolicy(Qt::NoFocus);
    setFocusProxy(buddy);
    setMouseTracking(true);
    connect(&repeat, &QTimer::timeout, this, [this] {
        repeat.setInterval(kRepeatMs);
        // Paused while the pointer is off the arrow, as a system up-down does.
        if (held && OnHeldArrow())
            Step(lastDelta);
    });
}

void CFlatSpinButtonCtrl::SetRange(int low, int high) {
    lower = low;
    upper = high;
}

void CFlatSpinButtonCtrl::Step(int delta) {
    const int value = std::clamp(ReadInt(buddy->text().toStdString()), lower, upper);
    buddy->setText(QString::asprintf("%i", std::clamp(value + delta, lower, upper)));
}

void CFlatSpinButtonCtrl::AttachToBuddy() {
    setGeometry(buddy->x() - kWidth, buddy->y(), kWidth, buddy->height());
}

CRect CFlatSpinButtonCtrl::UpperHalf() const {
    return CRect{0, 0, width(), height() - height() / 2};
}

CRect CFlatSpinButtonCtrl::LowerHalf() const {
    return CRect{0, height() / 2, width(), height()};
}

bool CFlatSpinButtonCtrl::OnHeldArrow() const {
    return (lastDelta > 0 ? UpperHalf() : LowerHalf()).Contains(pointer);
}

void CFlatSpinButtonCtrl::StopRepeat() {
    held = false;
    repeat.stop();
    update();
}

void CFlatSpinButtonCtrl::paintEvent(QPaintEvent*) {
    const CRect up = UpperHalf(), down = LowerHalf();
    const bool upPressed = held && up.Contains(pointer) && lastDelta > 0;
    const bool downPressed = held && !upPressed && down.Contains(pointer) && lastDelta < 0;
    const QColor base = ToQColor(baseColour);
    const QColor pressed = ToQColor(LightenColor(baseColour, 0.5));

    QPainter dc(this);
    dc.setPen(base);
    for (const auto& [half, isPressed] : {std::pair{up, upPressed}, std::pair{down, downPressed}}) {
        dc.setBrush(isPressed ? pressed : QColor(Qt::white));
        dc.drawRect(half.OutlineRect());
    }
    dc.setBrush(base);
    const int g = std::min(height(), width()) / 2 - 4;
    const QPoint upCentre = up.Center(), downCentre = down.Center();
    const int yb = upCentre.y() + g / 2, yt = downCentre.y() - g / 2;
    dc.drawPolygon(QPolygon({QPoint(upCentre.x(), yb - g), QPoint(upCentre.x() + g, yb),
                             QPoint(upCentre.x() - g, yb)}));
    dc.drawPolygon(QPolygon({QPoint(downCentre.x(), yt + g), QPoint(downCentre.x() - g, yt),
                             QPoint(downCentre.x() + g, yt)}));
}

void CFlatSpinButtonCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    pointer = event->position().toPoint();
    held = true;
    lastDelta = UpperHalf().Contains(pointer) ? 1 : -1;
    Step(lastDelta);
    repeat.start(kFirstRepeatMs);
    update();
}

void CFlatSpinButtonCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        StopRepeat();
}

void CFlatSpinButtonCtrl::mouseMoveEvent(QMouseEvent* event) {
    pointer = event->position().toPoint();
    // A release that went to another window leaves the button up.
    if (held && !event->buttons().testFlag(Qt::LeftButton))
        StopRepeat();
    update();
}

void CFlatSpinButtonCtrl::enterEvent(QEnterEvent*) {
    buddy->update();
}

void CFlatSpinButtonCtrl::leaveEvent(QEvent*) {
    buddy->update();
    update();
}

void CFlatSpinButtonCtrl::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    StopRepeat();
}

void CFlatSpinButtonCtrl::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        StopRepeat();
}

} // namespace rp
