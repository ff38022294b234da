// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <memory>

// The lock that says which running program owns a settings file, beside that file and named for its real path,
// so every spelling of the path (a trailing '/', a home reached through a symbolic link) and every session of
// the user (another runtime folder, a remote login) meet at the same lock. The holder writes into it where it
// listens for later starts. The system holds the lock for the process, so a lock that no running program holds
// never keeps anyone out: on Unix a flock, on Windows, where the settings live in the registry, a named mutex of
// the user's session, named for the user and the registry key.
class InstanceLock final
{
public:
    enum class State {
        Ours,          // taken by this program
        HeldByAnother, // a running program holds it
        CannotBeMade,  // no lock can be made there (a folder that cannot be written): run without one
    };

    // `sharedFilePrefix` begins the lock's name where it lies in the shared temporary folder (on Windows).
    InstanceLock(const QString& settingsFile, const QString& sharedFilePrefix);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    State state() const { return m_state; }
    // Where the lock lives, for messages.
    QString path() const { return m_path; }

    // Tells later starts where this program listens; only for a lock that is ours.
    bool publish(const QString& address);
    // Where the program that holds the lock listens; empty while it has not said yet.
    QString holderAddress() const;

private:
    void take();

    QString m_path;
    State m_state = State::CannotBeMade;
#if defined(Q_OS_WIN)
    struct MutexRelease
    {
        void operator()(void* mutex) const;
    };
    std::unique_ptr<void, MutexRelease> m_mutex;
#else
    int m_descriptor = -1;
#endif
};
