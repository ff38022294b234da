// SPDX-License-Identifier: GPL-3.0-or-later
// Location lines: splitting never crashes, and what it gives back is the line's own first three fields.
#include "catalogue/LocationLine.h"
#include "platform/base/Failure.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const QStringView line : QStringView(text).split(u'\n')) {
        try {
            const LocationLine location = splitLocationLine(line);
            const QString joined =
                location.url.toString() + u',' + location.name.toString() + u',' + location.region.toString();
            if (!line.startsWith(joined) || location.url.contains(u',') || location.name.contains(u','))
                std::abort();
            QString name;
            composeDisplayName(location, name);
            if (!name.startsWith(location.name) || (location.region.isEmpty() != (name == location.name)))
                std::abort();
        } catch (const Failure&) {
            if (line.count(u',') >= 2)
                std::abort(); // a line with three fields must split
        }
    }
    return 0;
}
