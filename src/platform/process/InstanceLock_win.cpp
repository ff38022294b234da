// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/process/InstanceLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

#include <windows.h>

namespace {

// The settings live in the registry: the lock is named for the user and the key, in the temporary folder.
QString lockPathFor(const QString& key, const QString& sharedFilePrefix)
{
    const QByteArray hash =
        QCryptographicHash::hash((QDir::homePath() + QLatin1Char('\n') + key).toUtf8(), QCryptographicHash::Sha256);
    return QDir::tempPath() + QLatin1Char('/') + sharedFilePrefix + QString::fromLatin1(hash.toHex().left(16)) +
           QLatin1String(".lock");
}

} // namespace

InstanceLock::InstanceLock(const QString& settingsFile, const QString& sharedFilePrefix, const QDeadlineTimer&)
    : m_path(lockPathFor(settingsFile, sharedFilePrefix))
{
    take({});
}

void InstanceLock::MutexRelease::operator()(void* mutex) const
{
    ReleaseMutex(mutex);
    CloseHandle(mutex);
}

InstanceLock::~InstanceLock() = default;

void InstanceLock::take(const QDeadlineTimer&)
{
    // Windows hands a named mutex on when its owner ends, however it ended (a lock file would name a process
    // number that Windows gives out again, so a killed copy kept every later start out); one that its dead
    // owner never released comes back abandoned, and is then ours. Nothing can stand in its place.
    const QString name = QStringLiteral("Local\\") + QFileInfo(m_path).fileName();
    HANDLE mutex = CreateMutexW(nullptr, FALSE, reinterpret_cast<const wchar_t*>(name.utf16()));
    if (mutex == nullptr) {
        m_failure = QStringLiteral("Windows error %1").arg(GetLastError());
        return;
    }
    const DWORD taken = WaitForSingleObject(mutex, 0);
    if (taken == WAIT_OBJECT_0 || taken == WAIT_ABANDONED) {
        m_mutex.reset(mutex);
        m_state = State::Ours;
    } else {
        CloseHandle(mutex);
        m_state = State::HeldByAnother;
    }
}

QString InstanceLock::serverName() const
{
    return QFileInfo(m_path).completeBaseName(); // a pipe of the same name
}
