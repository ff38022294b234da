// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/process/InstanceLock.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace {

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

// Beside the file, the lock needs no prefix of its own.
QString lockPathFor(const QString& settingsFile, const QString&)
{
    return realPath(settingsFile) + QLatin1String(".instance");
}

// Clears what no running program can hold as its lock (a folder, a symbolic link, a file that cannot be opened
// for reading and writing), so that it cannot keep the user out. False when nothing could be cleared.
bool removeLeftOver(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status = {};
    if (::lstat(name.constData(), &status) != 0)
        return errno == ENOENT; // gone meanwhile: try again
    if (S_ISDIR(status.st_mode))
        return ::rmdir(name.constData()) == 0;
    return ::unlink(name.constData()) == 0;
}

} // namespace

InstanceLock::InstanceLock(const QString& settingsFile, const QString& sharedFilePrefix)
    : m_path(lockPathFor(settingsFile, sharedFilePrefix))
{
    take();
}

InstanceLock::~InstanceLock()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor); // releases the lock; the file stays for the next start, which rewrites it
}

void InstanceLock::take()
{
    const QByteArray name = QFile::encodeName(m_path);
    for (int attempt = 0; attempt < 2; ++attempt) {
        // Not following a link, and not kept by the programs this one starts (a browser would hold it for ever).
        m_descriptor = ::open(name.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
        struct stat status = {};
        if (m_descriptor >= 0 && ::fstat(m_descriptor, &status) == 0 && S_ISREG(status.st_mode)) {
            if (::flock(m_descriptor, LOCK_EX | LOCK_NB) == 0)
                m_state = State::Ours;
            else if (errno == EWOULDBLOCK)
                m_state = State::HeldByAnother;
            return;
        }
        if (m_descriptor >= 0)
            ::close(std::exchange(m_descriptor, -1));
        if (!removeLeftOver(m_path))
            return;
    }
}

bool InstanceLock::publish(const QString& address)
{
    const QByteArray text = QFile::encodeName(address);
    return m_state == State::Ours && ::ftruncate(m_descriptor, 0) == 0 &&
           ::pwrite(m_descriptor, text.constData(), size_t(text.size()), 0) == text.size();
}

QString InstanceLock::holderAddress() const
{
    if (m_descriptor < 0)
        return {};
    char text[4096];
    const ssize_t length = ::pread(m_descriptor, text, sizeof text, 0);
    return length > 0 ? QFile::decodeName(QByteArray(text, int(length))) : QString();
}
