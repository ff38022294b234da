// SPDX-License-Identifier: GPL-3.0-or-later
#include "Main.h"

#include "DistributorOptions.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QUrl>

namespace Main {

namespace {
constexpr qsizetype kApplicationTitleLimit = 40;
}

bool FileExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).lastModified().isValid();
}

QString configuredHomePage()
{
    return QStringLiteral(BAZAARLY_HOME_PAGE);
}

QUrl homePageAddress(const QString& applicationFolder, const QString& configuredAddress)
{
    if (configuredAddress.isEmpty())
        return QUrl::fromLocalFile(applicationFolder + QLatin1Char('/') + kShippedHomePage);
    return QUrl::fromUserInput(configuredAddress);
}

void MaybeOpenHomePage(int draw, const QString& applicationFolder, const std::function<void(const QUrl&)>& openUrl)
{
    if (draw == kHomePageNumber)
        openUrl(homePageAddress(applicationFolder));
}

QString shortenedApplicationTitle(const QString& title)
{
    QString shortened = title;
    do {
        // Cutting at the last blank drops it and everything after; a title without blanks is cut to nothing.
        shortened.truncate(std::max<qsizetype>(shortened.lastIndexOf(QLatin1Char(' ')), 0));
    } while (shortened.size() > kApplicationTitleLimit);
    return shortened;
}

void SetApplicationTitle()
{
    QCoreApplication::setApplicationName(shortenedApplicationTitle(kProductTitle));
}

} // namespace Main
