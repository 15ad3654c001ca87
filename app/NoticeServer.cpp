#include "app/NoticeServer.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QLocalSocket>

#include "app/Notices.h"

namespace app {

namespace {

constexpr qint64 kMaxLine = 32;  // with its end of line

// Whether the process at the other end of the socket runs as `user`.
bool RunsAs(const QLocalSocket& socket, uid_t user) {
    ucred peer{};
    socklen_t size = sizeof(peer);
    return getsockopt(static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer,
                      &size) == 0 &&
           peer.uid == user;
}

}  // namespace

NoticeServer::NoticeServer(QObject* parent) : QObject(parent), user_(getuid()) {
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
        if (!RunsAs(*socket, user_)) {
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
            // A line longer than a notice is dropped whole, never cut to a value.
            QByteArray line = socket->readLine(kMaxLine + 1);
            if (!line.endsWith('\n')) {
                socket->abort();
                return;
            }
            line = line.trimmed();
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
