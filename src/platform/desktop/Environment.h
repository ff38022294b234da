// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/desktop/UrlOpener.h"

#include <QString>

#include <functional>

class QObject;
class QUrl;
class QWidget;
class SettingsStore;

// Everything the program asks of the world outside its window, gathered so that tests can put plain recorders
// and temporary folders in its place: no test opens a browser, waits on a message box or touches the user's
// settings.
struct Environment
{
    // The folder that holds the program and its data files.
    QString applicationFolder;
    // Shows the error report, modal, and returns when the user has closed it.
    std::function<void(QWidget* owner, const QString& text)> showErrorReport;
    // Hands an address to the desktop's default handler without making the window wait; `done` is told later
    // whether the desktop took it, and never once `owner` is gone.
    std::function<void(const QUrl& address, QObject& owner, OpeningDone done)> openUrl;
    // A whole number from 1 to 100 that decides whether this start opens the home page.
    std::function<int()> drawHomePageNumber;
    // Where the search list is kept between runs.
    std::function<SettingsStore&()> settings;

    // The real thing: the executable's folder, message boxes under the report's title, the default browser, the
    // user's own settings in `settings`, which must outlive the environment.
    static Environment system(SettingsStore& settings, const QString& errorReportTitle);
};
