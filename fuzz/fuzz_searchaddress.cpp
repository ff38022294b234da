// SPDX-License-Identifier: GPL-3.0-or-later
// Search addresses: whatever the query, the address starts with the engine's prefix, keeps its scheme, host and
// path, and its query decodes back to exactly the query.
#include "searches/SearchQuery.h"

#include <QUrl>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString query = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QUrl url = searchUrl(query);
    const QString sent = url.toString(QUrl::FullyEncoded);
    if (!sent.startsWith(kSearchEnginePrefix) || url.scheme() != QLatin1String("https") ||
        url.host() != kSearchEngineHost || url.path() != QLatin1String("/") || url.hasQuery())
        std::abort();
    if (QUrl::fromPercentEncoding(sent.mid(kSearchEnginePrefix.size()).toUtf8()) != query)
        std::abort();
    return 0;
}
