// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/process/SingleInstance.h"

#include <QDir>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

// The one request there is; the running copy answers it with the same byte before it closes, so a later start
// never takes a connection dropped unheard for a hand-over.
constexpr char kFrontRequest = 'F';
// A peer that has not asked within this long is dropped, and no more than this many are heard or wait at once:
// peers that connect and say nothing can neither hold the program's descriptors nor its attention.
constexpr int kPeerWaitMs = 1000;
constexpr int kMaxPeers = 8;
// Between two tries to reach a running copy that is still starting, or whose queue is full.
constexpr int kRetryPauseMs = 20;

} // namespace

SingleInstance::SingleInstance(const QString& key, const QString& sharedFilePrefix, std::chrono::milliseconds limit,
                               QObject* parent)
    : QObject(parent), m_deadline(limit), m_lock(key, sharedFilePrefix, m_deadline)
{
    if (m_lock.state() == InstanceLock::State::Ours)
        listen();
}

SingleInstance::~SingleInstance() = default;

void SingleInstance::listen()
{
    const QString name = m_lock.serverName();
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    m_server.setListenBacklogSize(kMaxPeers);
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::answer);
    QLocalServer::removeServer(name); // only the lock's holder listens there: what is left is an ended copy's
    if (!m_server.listen(name))
        std::fprintf(stderr, "BazaarlySearch cannot listen for later starts at %s: %s\n",
                     qPrintable(QDir::toNativeSeparators(name)), qPrintable(m_server.errorString()));
}

SingleInstance::Outcome SingleInstance::settle()
{
    switch (m_lock.state()) {
    case InstanceLock::State::Ours:
        return Outcome::Window;
    case InstanceLock::State::CannotBeMade:
        return Outcome::UnguardedWindow;
    case InstanceLock::State::HeldByAnother:
        break;
    }
    return bringRunningToFront() ? Outcome::HandedOver : Outcome::Unanswered;
}

QString SingleInstance::why() const
{
    if (m_lock.state() == InstanceLock::State::CannotBeMade)
        return QStringLiteral("BazaarlySearch cannot make sure that it runs in one window only: its lock %1 cannot "
                              "be made (%2). Changes made in another of its windows may be lost when this one "
                              "closes.")
            .arg(QDir::toNativeSeparators(m_lock.path()), m_lock.failure());
    if (m_lock.state() == InstanceLock::State::HeldByAnother)
        return QStringLiteral("BazaarlySearch is already running for this user, but does not answer. Close it (or "
                              "end it in the task manager) and start it again.");
    return {};
}

bool SingleInstance::bringRunningToFront()
{
    const QString name = m_lock.serverName();
    const auto remaining = [this] { return int(std::max<qint64>(m_deadline.remainingTime(), 0)); };
    do {
        QLocalSocket socket;
        socket.connectToServer(name);
        if (socket.waitForConnected(remaining()) && socket.write(&kFrontRequest, 1) == 1 &&
            socket.waitForBytesWritten(remaining())) {
            if (socket.bytesAvailable() == 0)
                socket.waitForReadyRead(remaining());
            char answer = 0;
            if (socket.getChar(&answer) && answer == kFrontRequest)
                return true;
        }
        QThread::msleep(ulong(std::min(kRetryPauseMs, remaining())));
    } while (!m_deadline.hasExpired());
    return false;
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
        if (peer->readAll().contains(kFrontRequest)) {
            emit frontRequested();
            peer->write(&kFrontRequest, 1);
        }
        peer->disconnectFromServer();
    });
    QTimer::singleShot(kPeerWaitMs, peer, [peer] {
        peer->abort();
        peer->deleteLater();
    });
}
