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
// Start-up: Claim(files) first (true: exit with status 0, no splash); the
// paths of OpenRequested may arrive from then on, before the main window.
class CSingleInstance : public QObject {
    Q_OBJECT
public:
    static constexpr int kTimeout = 2000;
    // How long a live instance is given to answer: it may be starting up.
    static constexpr int kLiveTimeout = 10000;
    // A connection that has not finished its request by then is dropped.
    static constexpr int kRequestTimeLimit = 5000;
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

    // Either hands the paths to the running instance (true: this start
    // ends) or becomes the running instance, as one step: a lock file beside
    // the name is held around the probe and the listening, so that of two
    // starts at the same moment one listens and the other hands over. False
    // also when a live instance does not answer: then this start runs on its
    // own, without listening.
    bool Claim(const QStringList& paths);

    // For tests: how long a connection may take to send its request.
    void SetRequestTimeLimit(int ms) { requestTimeLimit = ms; }

signals:
    // A later start asked for these absolute paths; none means "come to the front".
    void OpenRequested(const QStringList& paths);

private:
    void OnNewConnection();
    void ReadRequest(QLocalSocket* socket);

    // Probes the name, then takes it over unless a live instance answers.
    bool ListenUnlessLive(bool& live);

    QString serverName;
    int timeout;
    int requestTimeLimit = kRequestTimeLimit;
    QLocalServer* server;
};

} // namespace rp
