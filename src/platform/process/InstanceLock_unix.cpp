// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/process/InstanceLock.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <utility>

namespace {

constexpr unsigned long kTurnPauseMs = 5;

// The settings file's path with every symbolic link resolved, also before the file exists (its folder is made
// now rather than at the first save, so that it can be resolved).
QString realPath(const QString& file)
{
    const QFileInfo info(file);
    const QString existing = info.canonicalFilePath();
    if (!existing.isEmpty())
        return existing;
    QDir().mkpath(info.absolutePath());
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : folder + QLatin1Char('/') + info.fileName();
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// The lock at `name`, opened (and made, with O_CREAT in `flags`), or -1 when what is there is none: only a regular
// file of this user with no second name is locked, for a lock taken on anything else (another user's file, the
// settings file reached through a second name) would let its owner keep every start out, or tie the guard to a
// file that has a life of its own. Not following a link, and not kept by the programs this one starts (a browser
// would hold it for ever).
int openLockFile(const QByteArray& name, int flags)
{
    const int descriptor = ::open(name.constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | flags, 0600);
    struct stat status = {};
    if (descriptor >= 0 && ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) &&
        status.st_uid == ::geteuid() && status.st_nlink == 1)
        return descriptor;
    if (descriptor >= 0)
        ::close(descriptor);
    return -1;
}

} // namespace

InstanceLock::InstanceLock(const QString& settingsFile, const QString&, const QDeadlineTimer& deadline)
    : m_path(realPath(settingsFile) + QLatin1String(".instance"))
{
    m_folder = ::open(QFile::encodeName(QFileInfo(m_path).path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_folder < 0) {
        m_failure = systemError();
        return;
    }
    take(deadline);
    // A folder where the holder's socket goes would keep later starts from reaching it.
    const QString socket = m_path + QLatin1String(".socket");
    if (m_state == State::Ours && QFileInfo(socket).isDir() && !QFileInfo(socket).isSymLink())
        moveAside(socket, deadline);
}

InstanceLock::~InstanceLock()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor); // releases the lock; the file stays for the next start
    if (m_folder >= 0)
        ::close(m_folder);
}

void InstanceLock::take(const QDeadlineTimer& deadline)
{
    const QByteArray name = QFile::encodeName(m_path);
    bool vanished = false; // what was in the way, moved aside by another start
    do {
        m_descriptor = openLockFile(name, O_CREAT);
        if (m_descriptor < 0) {
            const int openError = errno;
            struct stat status = {};
            if (::lstat(name.constData(), &status) != 0) {
                if (!std::exchange(vanished, true))
                    continue;
                m_failure = QString::fromLocal8Bit(std::strerror(openError)); // none can be made there
                return;
            }
            if (!moveAside(m_path, deadline))
                return;
            continue;
        }
        if (::flock(m_descriptor, LOCK_EX | LOCK_NB) != 0) {
            if (errno == EWOULDBLOCK)
                m_state = State::HeldByAnother;
            else
                m_failure = systemError(); // a file system without locks
            return;
        }
        // Still the file at the lock's path, and not one moved away since it was opened.
        struct stat opened = {};
        struct stat named = {};
        if (::fstat(m_descriptor, &opened) == 0 && ::lstat(name.constData(), &named) == 0 &&
            opened.st_dev == named.st_dev && opened.st_ino == named.st_ino) {
            m_state = State::Ours;
            return;
        }
        ::close(std::exchange(m_descriptor, -1));
    } while (!deadline.hasExpired());
    m_failure = QStringLiteral("another start kept it busy");
}

bool InstanceLock::moveAside(const QString& path, const QDeadlineTimer& deadline)
{
    // Starts that find something in the way take turns, so that none moves aside a lock another has just made.
    while (::flock(m_folder, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK || deadline.hasExpired()) {
            m_failure = errno != EWOULDBLOCK ? systemError() : QStringLiteral("another start kept it busy");
            return false;
        }
        QThread::msleep(kTurnPauseMs);
    }
    const auto release = qScopeGuard([this] { ::flock(m_folder, LOCK_UN); });
    const QByteArray name = QFile::encodeName(path);
    struct stat status = {};
    if (::lstat(name.constData(), &status) != 0)
        return errno == ENOENT; // gone meanwhile: try again
    if (const int lock = openLockFile(name, 0); lock >= 0) {
        ::close(lock); // made by another start meanwhile
        return true;
    }
    // Kept, under a name that says what it is, for it may hold something the user wants.
    const QByteArray aside = name + ".in-the-way-" + QByteArray::number(qulonglong(status.st_ino));
    if (::rename(name.constData(), aside.constData()) == 0)
        return true;
    m_failure = systemError();
    return false;
}

QString InstanceLock::serverName() const
{
    const QString socket = m_path + QLatin1String(".socket");
    if (QFile::encodeName(socket).size() < qsizetype(sizeof(sockaddr_un::sun_path)))
        return socket;
    // Too long for a socket's address: the same file, reached through this process's handle on its folder.
    return QStringLiteral("/proc/self/fd/%1/%2").arg(m_folder).arg(QFileInfo(socket).fileName());
}
