// SPDX-License-Identifier: GPL-3.0-or-later
#include "SingleInstance.h"

#include <QDir>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int kAnswerWaitMs = 3000;
constexpr int kConnectAttempts = 10; // the running program may still be starting
constexpr char kFrontRequest = 'F';
// A peer that has not asked within this long is dropped, and no more than this many are heard at once: peers
// that connect and say nothing can neither hold the program's descriptors nor its attention.
constexpr int kPeerWaitMs = 1000;
constexpr int kMaxPeers = 8;

} // namespace

SingleInstance::SingleInstance(const QString& key, const QString& sharedFilePrefix, QObject* parent)
    : QObject(parent), m_lock(key, sharedFilePrefix)
{
    if (m_lock.state() == InstanceLock::State::Ours)
        listen(sharedFilePrefix);
    else if (m_lock.state() == InstanceLock::State::CannotBeMade)
        std::fprintf(stderr, "BazaarlySearch runs without its one-window guard: the lock %s cannot be made.\n",
                     qPrintable(QDir::toNativeSeparators(m_lock.path())));
}

SingleInstance::~SingleInstance() = default;

void SingleInstance::listen(const QString& sharedFilePrefix)
{
    const QString address = privateAddress(sharedFilePrefix);
    if (address.isEmpty())
        return;
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::answer);
    if (m_server.listen(address))
        m_lock.publish(m_server.fullServerName());
}

// Where only this program listens: on Unix a socket in a folder of its own with a name nobody can guess (made
// by mkdtemp), in the session's runtime folder or else the temporary folder; later starts find it through the
// lock.
QString SingleInstance::privateAddress([[maybe_unused]] const QString& sharedFilePrefix)
{
#if defined(Q_OS_WIN)
    return m_lock.holderAddress();
#else
    for (const QString& parent : {qEnvironmentVariable("XDG_RUNTIME_DIR"), QDir::tempPath()}) {
        if (parent.isEmpty())
            continue;
        m_socketFolder =
            std::make_unique<QTemporaryDir>(parent + QLatin1Char('/') + sharedFilePrefix + QLatin1String("XXXXXX"));
        if (m_socketFolder->isValid())
            return m_socketFolder->filePath(QStringLiteral("socket"));
    }
    return {};
#endif
}

void SingleInstance::answer()
{
    while (QLocalSocket* peer = m_server.nextPendingConnection()) {
        if (m_peers >= kMaxPeers) {
            peer->abort();
            peer->deleteLater();
            continue;
        }
        hearOut(peer);
    }
}

void SingleInstance::hearOut(QLocalSocket* peer)
{
    ++m_peers;
    connect(peer, &QObject::destroyed, this, [this] { --m_peers; });
    connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
    connect(peer, &QLocalSocket::readyRead, this, [this, peer] {
        if (peer->readAll().contains(kFrontRequest))
            emit frontRequested();
        peer->disconnectFromServer();
    });
    QTimer::singleShot(kPeerWaitMs, peer, [peer] {
        peer->abort();
        peer->deleteLater();
    });
}

bool SingleInstance::bringRunningToFront() const
{
    for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
        QLocalSocket socket;
        socket.connectToServer(m_lock.holderAddress());
        if (socket.waitForConnected(kAnswerWaitMs / kConnectAttempts)) {
            socket.write(&kFrontRequest, 1);
            return socket.waitForBytesWritten(kAnswerWaitMs) &&
                   (socket.state() == QLocalSocket::UnconnectedState || socket.waitForDisconnected(kAnswerWaitMs));
        }
        QThread::msleep(kAnswerWaitMs / kConnectAttempts);
    }
    return false;
}
