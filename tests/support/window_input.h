#pragma once

#include <QApplication>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QSpontaneKeyEvent>
#include <QWidget>

namespace rp::test {

// Mouse input delivered as the window system delivers it: to the child
// under the point, or, while a button is held, to the widget that took the
// press, with the buttons held so far; a right press is followed by the
// context menu request. Points are in `base`'s coordinates.
class CWindowInput {
public:
    void Mouse(QEvent::Type type, QWidget* base, QPoint at, Qt::MouseButton button = Qt::NoButton,
               Qt::KeyboardModifiers keys = {}) {
        QWidget* under = base->childAt(at);
        QWidget* target = grab ? grab.data() : under ? under : base;
        const QPoint global = base->mapToGlobal(at);
        if (type == QEvent::MouseButtonRelease)
            buttons &= ~button;
        else if (type != QEvent::MouseMove && (buttons |= button, !grab))
            grab = target;
        QMouseEvent event(type, target->mapFromGlobal(global), global,
                          type == QEvent::MouseMove ? Qt::NoButton : button, buttons, keys);
        Deliver(target, event);
        if (buttons == Qt::NoButton)
            grab = nullptr;
    }
    void RightPress(QWidget* base, QPoint at, Qt::KeyboardModifiers keys = {}) {
        Mouse(QEvent::MouseButtonPress, base, at, Qt::RightButton, keys);
        const QPoint global = base->mapToGlobal(at);
        QContextMenuEvent menu(QContextMenuEvent::Mouse, grab->mapFromGlobal(global), global, keys);
        Deliver(grab, menu);
    }
    // The buttons came up elsewhere (over a popup): no widget saw them go.
    void Forget() {
        buttons = {};
        grab = nullptr;
    }

private:
    static void Deliver(QWidget* target, QEvent& event) {
        QSpontaneKeyEvent::setSpontaneous(&event);
        QApplication::instance()->notify(target, &event);
    }

    QPointer<QWidget> grab;
    Qt::MouseButtons buttons;
};

} // namespace rp::test
