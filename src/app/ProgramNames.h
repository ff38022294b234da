// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/storage/SettingsStore.h"

#include <QString>

// The names the program goes by outside its window, which users, their tools and earlier versions know it by:
// where its settings lie, what its files in shared folders begin with, and the title of its error report.
namespace ProgramNames {

// The user's settings, under the maker "Quillmark" and the program's full title; the copy kept of a stored list
// that could not be restored ends in ".unrestored".
SettingsStoreNames settingsStore();
// The file of the user's settings in the configuration folder `configFolder` (XDG_CONFIG_HOME), where the
// program keeps them on Linux.
QString settingsFileIn(const QString& configFolder);
// The beginning of the names of the program's lock and listening socket in the shared temporary folders.
inline const QString kSharedFilePrefix = QStringLiteral("bazaarly-search-");
// The title of the box that shows an error report.
inline const QString kErrorReportTitle = QStringLiteral("Application Error");

} // namespace ProgramNames
