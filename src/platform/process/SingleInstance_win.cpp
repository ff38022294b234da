// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/process/SingleInstance.h"

#include "platform/process/SingleInstanceProtocol.h"

#include <QLocalSocket>
#include <QThread>
#include <QTimer>

// Where only this program listens: the pipe named after the lock, where later starts look for it.
QString SingleInstance::privateAddress([[maybe_unused]] const QString& sharedFilePrefix)
{
    return m_lock.holderAddress();
}

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
