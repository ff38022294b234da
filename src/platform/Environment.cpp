#include "Environment.h"

#include "ErrorReportBox.h"
#include "HomePageDraw.h"
#include "SettingsStore.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QUrl>

Environment Environment::system()
{
    Environment environment;
    environment.applicationFolder = QCoreApplication::applicationDirPath();
    environment.showErrorReport = showErrorReportBox;
    environment.openUrl = [](const QUrl& address) { QDesktopServices::openUrl(address); };
    environment.drawHomePageNumber = drawHomePageNumberFromTimeOfDay;
    environment.settings = []() -> SettingsStore& {
        static SettingsStore userSettings;
        return userSettings;
    };
    return environment;
}
