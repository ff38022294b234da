// SPDX-License-Identifier: GPL-3.0-or-later
#include "Main.h"

#include "DistributorOptions.h"
#include "platform/base/RegularFile.h"
#include "platform/look/Contrast.h"
#include "platform/look/SkinFramework.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QUrl>
#include <QWidget>

namespace Main {

namespace {
constexpr qsizetype kApplicationTitleLimit = 40;

bool isOrdinaryVisibleFile(const QString& path)
{
    return isRegularFile(path) && !QFileInfo(path).isHidden();
}
} // namespace

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

void ApplySkin(const QString& skinPath, SkinFramework& skin, QWidget& window, const QList<QWidget*>& surfaces)
{
    if (!isOrdinaryVisibleFile(skinPath))
        return;
    // The button face of the user's colour scheme, not the white that the window paints itself.
    const QColor buttonFace = QPalette().color(QPalette::Active, QPalette::Button);
    fixBackground(window, QPalette::Window, buttonFace);
    for (QWidget* widget : surfaces)
        fixBackground(*widget, QPalette::Window, buttonFace);
    skin.loadSkin(skinPath, QString());
    skin.setOptions(skin.options() | SkinFramework::SkinMessageBoxes);
    skin.setUniformStyle(true);
    skin.setSmoothText(true);
    skin.applyWindow(window);
}

} // namespace Main
