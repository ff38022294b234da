// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/storage/UserFolders.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>

#include <vector>
#endif

namespace {

QString wholePathIn(const char* variable)
{
    const QString path = qEnvironmentVariable(variable);
    return QDir::isAbsolutePath(path) ? QDir::cleanPath(path) : QString();
}

} // namespace

QString userHomeFolder()
{
#ifdef Q_OS_UNIX
    if (QString home = wholePathIn("HOME"); !home.isEmpty())
        return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return QDir::cleanPath(QFile::decodeName(found->pw_dir));
#endif
    return QDir::homePath();
}

QString userConfigFolder()
{
    if (QString folder = wholePathIn("XDG_CONFIG_HOME"); !folder.isEmpty())
        return folder;
    return userHomeFolder() + QLatin1String("/.config");
}
