// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/desktop/UrlOpener.h"

#include <QString>

#include <functional>
#include <optional>

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
    // Asks for a line of text under `title`, with `label` above the box; none when the user cancels.
    std::function<std::optional<QString>(QWidget* owner, const QString& title, const QString& label)> askText;
    // Asks a question to be answered yes or no; true for yes.
    std::function<bool(QWidget* owner, const QString& title, const QString& question)> askYesNo;
    // The file the user picks to write, offered under `suggestedName`, or to read; empty when the user cancels.
    std::function<QString(QWidget* owner, const QString& title, const QString& suggestedName)> chooseFileToSave;
    std::function<QString(QWidget* owner, const QString& title)> chooseFileToOpen;

    // The real thing: the executable's folder, message boxes under the report's title, the default browser, the
    // user's own settings in `settings`, which must outlive the environment, and the desktop's dialogs.
    static Environment system(SettingsStore& settings, const QString& errorReportTitle);
};
