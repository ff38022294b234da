// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/Environment.h"

#include "platform/desktop/ErrorReportBox.h"
#include "platform/desktop/HomePageDraw.h"
#include "platform/desktop/Questions.h"
#include "platform/desktop/UrlOpener.h"

#include <QCoreApplication>
#include <QUrl>

Environment Environment::system(SettingsStore& settings, const QString& errorReportTitle)
{
    Environment environment;
    environment.applicationFolder = QCoreApplication::applicationDirPath();
    environment.showErrorReport = [errorReportTitle](QWidget* owner, const QString& text) {
        showErrorReportBox(owner, errorReportTitle, text);
    };
    environment.openUrl = openWithDesktop;
    environment.drawHomePageNumber = drawHomePageNumberFromTimeOfDay;
    environment.settings = [&settings]() -> SettingsStore& { return settings; };
    environment.askText = askForText;
    environment.askYesNo = askYesOrNo;
    environment.chooseFileToSave = ::chooseFileToSave;
    environment.chooseFileToOpen = ::chooseFileToOpen;
    return environment;
}
