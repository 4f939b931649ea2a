#pragma once

#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace rp {

// The picture shown while Rollpouch starts: frameless and centred. It stays
// for the display time and then until the main window (the first top-level
// QMainWindow) exists, looking every 100 ms; a key or mouse press closes it
// at once. Closing brings the main window to the front and deletes the splash.
//
// It lives on the GUI thread: start-up calls ProcessEvents() between its
// steps so that the splash paints, counts its time and sees input.
class CSplashWnd : public QWidget {
    Q_OBJECT
public:
    static constexpr int kDisplayTime = 2000;
    static constexpr int kWaitStep = 100;
    static inline const QString kPicture = QStringLiteral(":/splash/splash.png");

    // Shows the splash when `wanted` (the command line has no "nologo") and
    // the picture loads; returns it, or null.
    static CSplashWnd* ShowSplash(bool wanted, const QString& picture = kPicture,
                                  int displayTime = kDisplayTime);

    // Handles what is waiting for the splash (painting, its timer, input)
    // between start-up steps, and answers later starts early: what they
    // hand over waits for this start's own trays.
    static void ProcessEvents();

    // The application's main window once it has been created, or null.
    static QWidget* MainWindow();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    CSplashWnd(const QPixmap& picture, int displayTime);
    void OnTimer();

    QPixmap picture;
    QTimer timer;
};

} // namespace rp
