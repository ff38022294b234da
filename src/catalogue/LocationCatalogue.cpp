// SPDX-License-Identifier: GPL-3.0-or-later
#include "LocationCatalogue.h"

#include "LocationFilter.h"
#include "LocationLine.h"

#include "platform/base/Failure.h"
#include "platform/controls/ListModel.h"
#include "platform/storage/TextFileReader.h"

#include <optional>
#include <utility>

namespace {

enum class Rebuild { Append, Replace };

// The one reading loop of the catalogue: every line is split (so a bad line fails wherever it stands), and
// the locations that pass the test are added, all in one update of the list.
template <typename Accept> void readLocations(TextFileReader& file, ListModel& list, Rebuild rebuild, Accept accept)
{
    ListModel::Batch batch(list);
    if (rebuild == Rebuild::Replace)
        batch.clear();
    while (!file.atEnd()) {
        const LocationLine location = splitLocationLine(file.readLine());
        // The display name goes straight into the list, piece by piece, with no copy of its own on the way.
        if (accept(location))
            batch.append(location.url, {location.name, nameRegionSeparator(location), location.region});
    }
    batch.finish();
}

} // namespace

void loadLocations(const QString& path, ListModel& list)
{
    TextFileReader file(path);
    readLocations(file, list, Rebuild::Append, [](const LocationLine&) { return true; });
}

void filterLocations(TextFileReader& file, const QString& filterText, ListModel& list)
{
    LocationFilter filter(filterText);
    readLocations(file, list, Rebuild::Replace,
                  [&filter](const LocationLine& location) { return filter.passes(location); });
}

void LocationFilterRebuild::rebuild(const QString& path, const QString& filterText, ListModel& list)
{
    std::optional<TextFileReader> file;
    try {
        file.emplace(path);
    } catch (const Failure&) {
        if (std::exchange(m_missingReported, true))
            return;
        throw;
    }
    m_missingReported = false;
    filterLocations(*file, filterText, list);
}
