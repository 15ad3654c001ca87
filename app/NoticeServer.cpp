#include "app/NoticeServer.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QLocalSocket>

#include "app/Notices.h"

namespace app {

namespace {

constexpr qint64 kMaxLine = 32;

// Whether the process at the other end of the socket runs as this user.
bool SameUser(const QLocalSocket& socket) {
    ucred peer{};
    socklen_t size = sizeof(peer);
    return getsockopt(static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer,
                      &size) == 0 &&
           peer.uid == getuid();
}

}  // namespace

NoticeServer::NoticeServer(QObject* parent) : QObject(parent) {
    connect(&server_, &QLocalServer::newConnection, this, [this] { OnConnection(); });
}

bool NoticeServer::Listen(const QString& path) {
    if (SomeoneListens(path.toStdString())) {
        return false;
    }
    QLocalServer::removeServer(path);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    return server_.listen(path);
}

void NoticeServer::OnConnection() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (!SameUser(*socket)) {
            socket->abort();
            continue;
        }
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > kMaxLine) {
                    socket->abort();
                }
                return;
            }
            const QByteArray line = socket->readLine(kMaxLine).trimmed();
            const std::optional<std::uint32_t> value = ParseNoticeValue(line.toStdString());
            socket->write(value ? "OK\n" : "ERROR\n");
            socket->flush();
            socket->disconnectFromServer();
            if (value) {
                emit noticeReceived(*value);
            }
        });
    }
}

}  // namespace app
