#pragma once

#include <QObject>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

namespace rp {

// One Rollpouch per user and display. The running instance listens under a
// per-user name; a later start hands it the files of its command line and
// ends, or runs normally when no instance answers within the timeout.
//
// Start-up: HandToRunning(files) first (true: exit with status 0, no splash);
// otherwise Listen() and open the paths of OpenRequested in the event loop.
class CSingleInstance : public QObject {
    Q_OBJECT
public:
    static constexpr int kTimeout = 2000;
    // A request larger than this is refused.
    static constexpr int kMaxRequestBytes = 1 << 20;

    explicit CSingleInstance(const QString& serverName = DefaultServerName(),
                             int timeout = kTimeout, QObject* parent = nullptr);
    ~CSingleInstance() override;

    // A name in the user's own runtime folder, distinct per display.
    static QString DefaultServerName();

    // Sends the paths, made absolute against the current folder, to the
    // running instance; true once it has confirmed them (then it opens them
    // and comes to the front), false when none answered in time.
    bool HandToRunning(const QStringList& paths) const;

    // Becomes the running instance. A name left behind by an instance that
    // is gone is taken over; false when a live one holds it or listening fails.
    bool Listen();

signals:
    // A later start asked for these absolute paths; none means "come to the front".
    void OpenRequested(const QStringList& paths);

private:
    void OnNewConnection();
    void ReadRequest(QLocalSocket* socket);

    QString serverName;
    int timeout;
    QLocalServer* server;
};

} // namespace rp
