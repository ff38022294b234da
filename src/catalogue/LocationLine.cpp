// SPDX-License-Identifier: GPL-3.0-or-later
#include "LocationLine.h"

#include "platform/base/Failure.h"

LocationLine splitLocationLine(QStringView line)
{
    const qsizetype firstComma = line.indexOf(QLatin1Char(','));
    const qsizetype secondComma = firstComma < 0 ? -1 : line.indexOf(QLatin1Char(','), firstComma + 1);
    if (secondComma < 0)
        throw Failure(line.isEmpty() ? QStringLiteral("The location list holds an empty line.")
                                     : QStringLiteral("The location line \"%1\" does not have the three fields "
                                                      "URL, name and region.")
                                           .arg(line.left(200)));
    const qsizetype thirdComma = line.indexOf(QLatin1Char(','), secondComma + 1);
    const qsizetype regionEnd = thirdComma < 0 ? line.size() : thirdComma;
    return {line.first(firstComma), line.sliced(firstComma + 1, secondComma - firstComma - 1),
            line.sliced(secondComma + 1, regionEnd - secondComma - 1)};
}

QStringView nameRegionSeparator(const LocationLine& line)
{
    return line.region.isEmpty() ? QStringView() : QStringView(u", ");
}

void composeDisplayName(const LocationLine& line, QString& out)
{
    out.resize(0);
    out.append(line.name).append(nameRegionSeparator(line)).append(line.region);
}
