// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDeadlineTimer>
#include <QString>

#include <memory>

// The lock that says which running program owns a settings file, beside that file and named for its real path,
// so every spelling of the path (a trailing '/', a home reached through a symbolic link) and every session of
// the user (another runtime folder, a remote login) meet at the same lock. The system holds the lock for the
// process, so a lock that no running program holds never keeps anyone out: on Unix a flock, on Windows, where the
// settings live in the registry, a named mutex of the user's session, named for the user and the registry key.
// Nothing is written into it: the holder listens at a name that follows from the lock's, so later starts find
// it even when the disk is full.
class InstanceLock final
{
public:
    enum class State {
        Ours,          // taken by this program
        HeldByAnother, // a running program holds it
        CannotBeMade,  // no lock can be made there (a folder that cannot be written)
    };

    // On Unix, whatever stands in the lock's place and is not a lock of this user (a folder, full or empty, a
    // link, another user's file, a second name of another file) is moved aside to a name beside it, and kept;
    // another start doing the same is waited for until `deadline`. `sharedFilePrefix` begins the lock's name
    // where it lies in the shared temporary folder (on Windows).
    InstanceLock(const QString& settingsFile, const QString& sharedFilePrefix, const QDeadlineTimer& deadline);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    State state() const { return m_state; }
    // Where the lock lives, for messages.
    QString path() const { return m_path; }
    // The system's reason when the lock cannot be made.
    QString failure() const { return m_failure; }
    // The name the holder listens on for later starts (a QLocalServer's), the same for every start that meets
    // at this lock and always short enough to be one.
    QString serverName() const;

private:
    void take(const QDeadlineTimer& deadline);

    QString m_path;
    State m_state = State::CannotBeMade;
    QString m_failure;
#if defined(Q_OS_WIN)
    struct MutexRelease
    {
        void operator()(void* mutex) const;
    };
    std::unique_ptr<void, MutexRelease> m_mutex;
#else
    bool moveAside(const QString& path, const QDeadlineTimer& deadline);

    int m_folder = -1; // the settings folder, held open to reach the socket through when its path is long
    int m_descriptor = -1;
#endif
};
