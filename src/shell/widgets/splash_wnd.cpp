#include "splash_wnd.h"

#include "bring_to_front.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QPainter>
#include <QScreen>

namespace rp {

CSplashWnd* CSplashWnd::ShowSplash(bool wanted, const QString& picture, int displayTime) {
    if (!wanted)
        return nullptr;
    const QPixmap pixmap(picture);
    if (pixmap.isNull())
        return nullptr;
    auto* splash = new CSplashWnd(pixmap, displayTime);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), splash->size());
        frame.moveCenter(screen->availableGeometry().center());
        splash->move(frame.topLeft());
    }
    splash->show();
    splash->raise();
    splash->activateWindow();
    splash->repaint();
    ProcessEvents();
    return splash;
}

void CSplashWnd::ProcessEvents() {
    QCoreApplication::processEvents();
}

QWidget* CSplashWnd::MainWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMainWindow*>(widget))
            return widget;
    }
    return nullptr;
}

CSplashWnd::CSplashWnd(const QPixmap& picture, int displayTime)
    // On top: the main window, shown while the splash still stands, would
    // otherwise cover it at once.
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      picture(picture) {
    setAttribute(Qt::WA_DeleteOnClose);
    // Closing the splash before the main window shows must not end the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::ArrowCursor);
    setFixedSize(picture.deviceIndependentSize().toSize());
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, this, &CSplashWnd::OnTimer);
    timer.start(displayTime);
}

void CSplashWnd::OnTimer() {
    if (!MainWindow()) {
        timer.start(kWaitStep);
        return;
    }
    close();
}

void CSplashWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture);
}

void CSplashWnd::keyPressEvent(QKeyEvent*) {
    close();
}

void CSplashWnd::mousePressEvent(QMouseEvent* event) {
    const Qt::MouseButtons closing = Qt::LeftButton | Qt::RightButton | Qt::MiddleButton;
    if (event->button() & closing)
        close();
    else
        QWidget::mousePressEvent(event);
}

void CSplashWnd::closeEvent(QCloseEvent* event) {
    timer.stop();
    QWidget::closeEvent(event);
    BringToFront(MainWindow());
}

} // namespace rp
