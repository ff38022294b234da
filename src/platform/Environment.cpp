// SPDX-License-Identifier: GPL-3.0-or-later
#include "Environment.h"

#include "ErrorReportBox.h"
#include "HomePageDraw.h"
#include "SettingsStore.h"
#include "UrlOpener.h"

#include <QCoreApplication>
#include <QUrl>

Environment Environment::system()
{
    Environment environment;
    environment.applicationFolder = QCoreApplication::applicationDirPath();
    environment.showErrorReport = showErrorReportBox;
    environment.openUrl = openWithDesktop;
    environment.drawHomePageNumber = drawHomePageNumberFromTimeOfDay;
    environment.settings = []() -> SettingsStore& {
        static SettingsStore userSettings;
        return userSettings;
    };
    return environment;
}
