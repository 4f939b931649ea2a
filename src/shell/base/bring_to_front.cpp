#include "bring_to_front.h"

#include <QWidget>

namespace rp {

void BringToFront(QWidget* window) {
    if (!window || !window->isVisible())
        return;
    if (window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->raise();
    window->activateWindow();
}

} // namespace rp
