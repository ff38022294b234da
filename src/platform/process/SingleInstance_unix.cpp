// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/process/SingleInstance.h"

#include "platform/process/SingleInstanceProtocol.h"

#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>

// Where only this program listens: on Unix a socket in a folder of its own with a name nobody can guess (made
// by mkdtemp), in the session's runtime folder or else the temporary folder; later starts find it through the
// lock.
QString SingleInstance::privateAddress(const QString& sharedFilePrefix)
{
    for (const QString& parent : {qEnvironmentVariable("XDG_RUNTIME_DIR"), QDir::tempPath()}) {
        if (parent.isEmpty())
            continue;
        m_socketFolder =
            std::make_unique<QTemporaryDir>(parent + QLatin1Char('/') + sharedFilePrefix + QLatin1String("XXXXXX"));
        if (m_socketFolder->isValid())
            return m_socketFolder->filePath(QStringLiteral("socket"));
    }
    return {};
}

// Unix: a socket file spoken to through the system's own calls. Qt's local sockets would do the same, but their
// library and the nine it loads in turn cost about a millisecond of every start.

namespace {

// A socket descriptor, closed when the object goes.
class Socket final
{
public:
    explicit Socket(int descriptor) : m_descriptor(descriptor) {}
    ~Socket()
    {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    int descriptor() const { return m_descriptor; }

private:
    int m_descriptor;
};

// Watches a socket for what it can read, and closes it when it goes.
class WatchedSocket final : public QSocketNotifier
{
public:
    WatchedSocket(int descriptor, QObject* parent) : QSocketNotifier(descriptor, Read, parent), m_socket(descriptor) {}
    ~WatchedSocket() override { setEnabled(false); } // before the socket closes

private:
    Socket m_socket;
};

// The socket file's address; false when the path does not fit in one.
bool toAddress(const QString& path, sockaddr_un& address)
{
    const QByteArray encoded = QFile::encodeName(path);
    address = {};
    address.sun_family = AF_UNIX;
    if (encoded.isEmpty() || size_t(encoded.size()) >= sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, encoded.constData(), size_t(encoded.size()));
    return true;
}

// The socket is connected to the listener at the path; false when nobody listens there.
bool connectTo(const Socket& socket, const QString& path)
{
    sockaddr_un address;
    return socket.descriptor() >= 0 && toAddress(path, address) &&
           ::connect(socket.descriptor(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
}

// True once the other end has closed the connection, which is how the running program says it has heard; false
// when it keeps it open past the wait.
bool waitForClose(const Socket& socket, int waitMs)
{
    pollfd readable{socket.descriptor(), POLLIN, 0};
    char byte = 0;
    while (::poll(&readable, 1, waitMs) == 1) {
        const ssize_t got = ::read(socket.descriptor(), &byte, 1);
        if (got == 0 || (got < 0 && errno != EINTR && errno != EAGAIN))
            return true;
    }
    return false;
}

} // namespace

void SingleInstance::listen(const QString& sharedFilePrefix)
{
    const QString path = privateAddress(sharedFilePrefix);
    sockaddr_un address;
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (descriptor < 0)
        return;
    auto listener = std::make_unique<WatchedSocket>(descriptor, nullptr);
    if (path.isEmpty() || !toAddress(path, address) ||
        ::bind(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        ::chmod(address.sun_path, S_IRUSR | S_IWUSR) != 0 || ::listen(descriptor, kMaxPeers) != 0)
        return;
    connect(listener.get(), &QSocketNotifier::activated, this, &SingleInstance::answer);
    m_listener = std::move(listener);
    m_lock.publish(path);
}

void SingleInstance::answer()
{
    for (;;) {
        const int peer = ::accept4(m_listener->socket(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (peer < 0)
            return;
        if (m_peers >= kMaxPeers)
            ::close(peer);
        else
            hearOut(peer);
    }
}

void SingleInstance::hearOut(int peer)
{
    ++m_peers;
    auto* watched = new WatchedSocket(peer, this);
    connect(watched, &QObject::destroyed, this, [this] { --m_peers; });
    // Closing the connection is the answer: the asking start ends once it sees it closed.
    const auto end = [watched] {
        watched->setEnabled(false);
        watched->deleteLater();
    };
    connect(watched, &QSocketNotifier::activated, this, [this, peer, end] {
        char bytes[64];
        const ssize_t got = ::read(peer, bytes, sizeof(bytes));
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            return;
        if (got > 0 && std::memchr(bytes, kFrontRequest, size_t(got)))
            emit frontRequested();
        end();
    });
    QTimer::singleShot(kPeerWaitMs, watched, end);
}

bool SingleInstance::bringRunningToFront() const
{
    for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
        const Socket socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
        if (connectTo(socket, m_lock.holderAddress())) {
            return ::send(socket.descriptor(), &kFrontRequest, 1, MSG_NOSIGNAL) == 1 &&
                   waitForClose(socket, kAnswerWaitMs);
        }
        QThread::msleep(kAnswerWaitMs / kConnectAttempts);
    }
    return false;
}
