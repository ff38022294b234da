// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/process/OpenFileLimit.h"

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace {
constexpr int kFilesNeeded = 64;
} // namespace

QString raiseOpenFileLimit()
{
#ifdef Q_OS_UNIX
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return {};
    if (limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
        ::getrlimit(RLIMIT_NOFILE, &limit); // judged by the limit it now has
    }
    if (limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur >= rlim_t(kFilesNeeded))
        return {};
    return QStringLiteral("BazaarlySearch needs to hold %1 files open at once, but may hold only %2 (ulimit -n); "
                          "raise the limit and start it again.")
        .arg(kFilesNeeded)
        .arg(qulonglong(limit.rlim_cur));
#else
    return {};
#endif
}
