#include "single_instance.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>

namespace rp {

namespace {
// A request: its length as a 32-bit number, then the paths as a QStringList
// in a QDataStream. The answer is one byte.
constexpr char kServed = '\x01';
constexpr QDataStream::Version kStreamVersion = QDataStream::Qt_6_0;

int Remaining(const QDeadlineTimer& deadline) {
    return static_cast<int>(deadline.remainingTime());
}
} // namespace

CSingleInstance::CSingleInstance(const QString& serverName, int timeout, QObject* parent)
    : QObject(parent), serverName(serverName), timeout(timeout), server(new QLocalServer(this)) {
    connect(server, &QLocalServer::newConnection, this, &CSingleInstance::OnNewConnection);
}

CSingleInstance::~CSingleInstance() = default;

QString CSingleInstance::DefaultServerName() {
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY", qEnvironmentVariable("DISPLAY"));
    display.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]")), QStringLiteral("_"));
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return folder + QStringLiteral("/rollpouch") +
           (display.isEmpty() ? QString() : QStringLiteral("-") + display);
}

bool CSingleInstance::HandToRunning(const QStringList& paths) const {
    QStringList absolute;
    for (const QString& path : paths)
        absolute.append(QDir::current().absoluteFilePath(path));
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setVersion(kStreamVersion);
    out << absolute;
    if (payload.size() > kMaxRequestBytes)
        return false;
    QByteArray request;
    QDataStream header(&request, QIODevice::WriteOnly);
    header << static_cast<quint32>(payload.size());
    request += payload;

    const QDeadlineTimer deadline(timeout);
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(Remaining(deadline)))
        return false;
    socket.write(request);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(Remaining(deadline)))
            return false;
    }
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(Remaining(deadline)))
            return false;
    }
    return socket.read(1).at(0) == kServed;
}

bool CSingleInstance::Listen() {
    bool live = false;
    return ListenUnlessLive(live);
}

bool CSingleInstance::ListenUnlessLive(bool& live) {
    // Listening would replace the name even under a live instance, so ask
    // first: only a name nobody answers on any more is taken over.
    QLocalSocket probe;
    probe.connectToServer(serverName);
    live = probe.waitForConnected(timeout);
    if (live) {
        probe.abort();
        return false;
    }
    QLocalServer::removeServer(serverName);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    return server->listen(serverName);
}

bool CSingleInstance::Claim(const QStringList& paths) {
    bool live = false;
    {
        // Probe, remove and listen as one step among the starts of this
        // user; a lock left by a start that died is taken over.
        QLockFile lock(serverName + QStringLiteral(".lock"));
        if (lock.tryLock(kLiveTimeout) && ListenUnlessLive(live))
            return false;
    }
    if (!live)
        return false;
    return CSingleInstance(serverName, kLiveTimeout).HandToRunning(paths);
}

void CSingleInstance::OnNewConnection() {
    while (QLocalSocket* socket = server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // A peer that stops halfway is not waited on for ever.
        QTimer::singleShot(requestTimeLimit, socket, [socket] { socket->abort(); });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadRequest(socket); });
    }
}

void CSingleInstance::ReadRequest(QLocalSocket* socket) {
    if (socket->bytesAvailable() < 4)
        return;
    quint32 size = 0;
    QDataStream(socket->peek(4)) >> size;
    if (size > kMaxRequestBytes) {
        socket->abort();
        return;
    }
    if (socket->bytesAvailable() < 4 + qint64{size})
        return;
    socket->skip(4);
    QDataStream in(socket->read(size));
    in.setVersion(kStreamVersion);
    // The list is read path by path: QStringList's own reader reserves room
    // for whatever count the request claims.
    quint32 count = 0;
    in >> count;
    QStringList paths;
    for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        QString path;
        in >> path;
        paths.append(path);
    }
    if (in.status() != QDataStream::Ok || !in.atEnd()) {
        socket->abort();
        return;
    }
    // Confirm before opening: opening may show messages, and the other
    // start must not wait for them.
    socket->write(&kServed, 1);
    socket->flush();
    socket->disconnectFromServer();
    emit OpenRequested(paths);
}

} // namespace rp
