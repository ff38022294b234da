// SPDX-License-Identifier: GPL-3.0-or-later
#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

constexpr int kAnswerWaitMs = 3000;
constexpr int kConnectAttempts = 10; // the running program may still be starting
constexpr char kFrontRequest = 'F';

// A name of the user's own for the key, in the user's runtime folder (the temporary folder where there is none).
QString instanceName(const QString& key)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    const QByteArray hash =
        QCryptographicHash::hash((QDir::homePath() + QLatin1Char('\n') + key).toUtf8(), QCryptographicHash::Sha256);
    return folder + QStringLiteral("/bazaarly-search-") + QString::fromLatin1(hash.toHex().left(16));
}

} // namespace

#ifdef Q_OS_WIN
void SingleInstance::MutexRelease::operator()(void* mutex) const
{
    ReleaseMutex(mutex);
    CloseHandle(mutex);
}

SingleInstance::SingleInstance(const QString& key, QObject* parent) : QObject(parent), m_name(instanceName(key))
{
    // One name per user session and store; a mutex whose owner died is handed on as abandoned, which is ours.
    const QString mutexName = QStringLiteral("Local\\") + QFileInfo(m_name).fileName();
    HANDLE mutex = CreateMutexW(nullptr, FALSE, reinterpret_cast<const wchar_t*>(mutexName.utf16()));
    if (mutex == nullptr) {
        m_first = true; // no guard can be made: run without it rather than not at all
        return;
    }
    const DWORD taken = WaitForSingleObject(mutex, 0);
    if (taken == WAIT_OBJECT_0 || taken == WAIT_ABANDONED) {
        m_mutex.reset(mutex);
        m_first = true;
        listen();
    } else {
        CloseHandle(mutex);
    }
}
#else
SingleInstance::SingleInstance(const QString& key, QObject* parent) : QObject(parent), m_name(instanceName(key))
{
    auto lock = std::make_unique<QLockFile>(m_name + QLatin1String(".lock"));
    lock->setStaleLockTime(0); // held for as long as the program runs: only a dead holder makes it stale
    if (lock->tryLock(0)) {
        m_lock = std::move(lock);
        listen();
    } else if (lock->error() != QLockFile::LockFailedError) {
        // The lock cannot be made at all (no runtime folder that can be written): run without the guard rather
        // than not at all.
        m_lock = std::move(lock);
    }
    m_first = m_lock != nullptr;
}
#endif

SingleInstance::~SingleInstance() = default;

void SingleInstance::listen()
{
    // Any socket left under the name belongs to a program that died holding the lock, which is now ours.
    QLocalServer::removeServer(m_name);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::answer);
    m_server.listen(m_name);
}

void SingleInstance::answer()
{
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->readAll().contains(kFrontRequest))
                emit frontRequested();
            socket->disconnectFromServer();
        });
    }
}

bool SingleInstance::bringRunningToFront() const
{
    for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
        QLocalSocket socket;
        socket.connectToServer(m_name);
        if (socket.waitForConnected(kAnswerWaitMs / kConnectAttempts)) {
            socket.write(&kFrontRequest, 1);
            return socket.waitForBytesWritten(kAnswerWaitMs) &&
                   (socket.state() == QLocalSocket::UnconnectedState || socket.waitForDisconnected(kAnswerWaitMs));
        }
        QThread::msleep(kAnswerWaitMs / kConnectAttempts);
    }
    return false;
}
