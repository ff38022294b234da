// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

// One line of the location list file, cut at its first two commas: "URL,Name,Region[,anything]".
struct LocationLine
{
    QStringView url;
    QStringView name;
    QStringView region;
};

// Splits a location line; a Failure when it has fewer than three fields (an empty line has none).
// The views point into `line`, which must outlive them.
LocationLine splitLocationLine(QStringView line);

// What stands between the name and the region in the name shown: ", ", or nothing when the region is empty.
QStringView nameRegionSeparator(const LocationLine& line);

// The name shown for a location: the name, then ", " and the region when the region is not empty.
// Writes into `out`, reusing its storage.
void composeDisplayName(const LocationLine& line, QString& out);
