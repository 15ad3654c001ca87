#pragma once
// The running Halvex's end of the outside notice: a local socket for this user (app/Notices.h).
// A notice from another user's process is refused; a value that is not a number is answered
// "ERROR"; a good one "OK", and then handed on.

#include <sys/types.h>

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <cstdint>

namespace app {

class NoticeServer : public QObject {
    Q_OBJECT
public:
    explicit NoticeServer(QObject* parent = nullptr);

    // Listens on `path`; false when another Halvex listens there already, or the socket cannot
    // be made. A socket left behind by a Halvex that ended is taken over.
    bool Listen(const QString& path);
    bool IsListening() const { return server_.isListening(); }
    // Whose processes are heard: the user this program runs as, unless another is named.
    void ServeUser(uid_t user) { user_ = user; }

signals:
    void noticeReceived(std::uint32_t value);

private:
    void OnConnection();

    QLocalServer server_;
    uid_t user_;
};

}  // namespace app
