#include "screenshot.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QtDebug>

namespace rp {

void ScheduleScreenshotFromEnvironment(QWidget* window) {
    const QString path = qEnvironmentVariable("ROLLPOUCH_SCREENSHOT");
    if (path.isEmpty() || !window)
        return;
    bool ok = false;
    int delay = qEnvironmentVariableIntValue("ROLLPOUCH_SCREENSHOT_DELAY_MS", &ok);
    if (!ok || delay < 0)
        delay = 1500;
    QPointer<QWidget> target(window);
    QTimer::singleShot(delay, window, [target, path] {
        if (!target)
            return;
        if (!target->grab().save(path, "PNG"))
            qWarning("Could not write the screenshot %s", qPrintable(path));
        target->close();
        QCoreApplication::quit();
    });
}

} // namespace rp
