#include "LocationCatalogue.h"

#include "LocationLine.h"

#include "platform/ListView.h"
#include "platform/TextFileReader.h"

#include <QStringMatcher>

namespace {

enum class Rebuild { Append, Replace };

// The one reading loop of the catalogue: every line is split (so a bad line fails wherever it stands), and
// those whose display name passes the test are added, all in one update of the list.
template <typename Accept> void readLocations(const QString& path, ListView& list, Rebuild rebuild, Accept accept)
{
    TextFileReader file(path);
    ListModel::Batch batch(list.model());
    if (rebuild == Rebuild::Replace)
        batch.clear();
    QString name;
    while (!file.atEnd()) {
        const LocationLine location = splitLocationLine(file.readLine());
        composeDisplayName(location, name);
        if (accept(name))
            batch.append(location.url, name);
    }
}

} // namespace

void loadLocations(const QString& path, ListView& list)
{
    readLocations(path, list, Rebuild::Append, [](const QString&) { return true; });
}

void filterLocations(const QString& path, const QString& filterText, ListView& list)
{
    const QStringMatcher matcher(filterText, Qt::CaseInsensitive);
    readLocations(path, list, Rebuild::Replace,
                  [&matcher](const QString& name) { return !name.isEmpty() && matcher.indexIn(name) >= 0; });
}
