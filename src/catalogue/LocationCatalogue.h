// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class ListModel;
class TextFileReader;

// The name of the location list file in the application folder.
inline const QString kLocationListFile = QStringLiteral("list.txt");

// Appends every location of the file to the list, in file order. A Failure when the file cannot be opened or at
// the first line with fewer than three fields; the locations before that line stay in the list. A missing file
// fails with missingCatalogueAdvice for its folder as the report's first line, where there is one.
void loadLocations(const QString& path, ListModel& list);

// What to do about a catalogue missing from `folder`, or empty when the report of the missing file says enough.
// On Windows the catalogue is missing where the program was started from inside its zip: an archive tool then
// extracts the program alone, into a temporary folder (Explorer's Temp1_NAME.zip, 7-Zip's 7zO..., WinRAR's
// Rar$EX..., others' NAME.zip.XXXX), and the zip's list.txt stays behind. Every other Windows copy has one.
QString missingCatalogueAdvice(const QString& folder, bool onWindows);

// Rebuilds the list with the locations of the opened file whose display name contains the filter text, letter
// case ignored; a location with an empty display name never passes. A bad line fails as in loadLocations.
void filterLocations(TextFileReader& file, const QString& filterText, ListModel& list);

// The filter as the user types: each change of the filter text opens the file, then rebuilds the list as
// filterLocations does, so a file that cannot be opened leaves the list as it was. Such a file fails only the
// first rebuild; the rebuilds after it leave the list as it is and say nothing until one has found the file
// again. A missing file costs one report, not one per key.
class LocationFilterRebuild final
{
public:
    void rebuild(const QString& path, const QString& filterText, ListModel& list);

private:
    bool m_missingReported = false;
};
