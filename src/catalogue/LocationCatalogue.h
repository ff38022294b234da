// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class ListView;

// The name of the location list file in the application folder.
inline const QString kLocationListFile = QStringLiteral("list.txt");

// Appends every location of the file to the list, in file order. A Failure when the file cannot be opened or at
// the first line with fewer than three fields; the locations before that line stay in the list.
void loadLocations(const QString& path, ListView& list);

// Rebuilds the list with the locations whose display name contains the filter text, letter case ignored; a
// location with an empty display name never passes. The file is opened before the list is emptied, so a file
// that cannot be opened leaves the list as it was. A bad line fails as in loadLocations.
void filterLocations(const QString& path, const QString& filterText, ListView& list);
