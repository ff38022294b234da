// SPDX-License-Identifier: GPL-3.0-or-later
#include "LocationCatalogue.h"

#include "LocationFilter.h"
#include "LocationLine.h"

#include "platform/base/Failure.h"
#include "platform/controls/ListModel.h"
#include "platform/storage/TextFileReader.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <optional>
#include <utility>

namespace {

enum class Rebuild { Append, Replace };

#ifdef Q_OS_WIN
constexpr bool kOnWindows = true;
#else
constexpr bool kOnWindows = false;
#endif

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

QString missingCatalogueAdvice(const QString& folder, bool onWindows)
{
    if (!onWindows)
        return {};
    static const QRegularExpression archiveToolsFolder(
        QStringLiteral(R"(^(Temp\d+_.+\.zip|.+\.zip\..+|7zO[0-9A-F]+|Rar\$EX.+)$)"),
        QRegularExpression::CaseInsensitiveOption);
    const QString extract = QStringLiteral("extract all the files of the zip first (right-click the zip, then Extract "
                                           "All) and start BazaarlySearch.exe from the folder they went to");
    // Either separator, whichever system the folder was written on.
    const QStringList names = QString(folder).replace(QLatin1Char('\\'), QLatin1Char('/')).split(QLatin1Char('/'));
    for (const QString& name : names) {
        if (archiveToolsFolder.match(name).hasMatch())
            return QStringLiteral("BazaarlySearch was started from inside its zip, without its other files: %1.")
                .arg(extract);
    }
    return QStringLiteral("If BazaarlySearch came as a zip, %1; an installed copy is mended by installing it again.")
        .arg(extract);
}

void loadLocations(const QString& path, ListModel& list)
{
    std::optional<TextFileReader> file;
    try {
        file.emplace(path);
    } catch (const Failure& failure) {
        const QFileInfo catalogue(path);
        const QString advice =
            catalogue.exists() ? QString() : missingCatalogueAdvice(catalogue.absolutePath(), kOnWindows);
        if (advice.isEmpty())
            throw;
        throw Failure(advice + QLatin1String("\r\n") + failure.description());
    }
    readLocations(*file, list, Rebuild::Append, [](const LocationLine&) { return true; });
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
