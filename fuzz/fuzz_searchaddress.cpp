// SPDX-License-Identifier: GPL-3.0-or-later
// Search addresses: whatever the query and the engine, the address starts with the engine's prefix, keeps its
// scheme, host and path, has the query as its one parameter and no fragment, and decodes back to exactly the query.
#include "searches/SearchQuery.h"

#include <QUrl>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString query = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const SearchEngine engine : kSearchEngines) {
        const QString prefix = searchEnginePrefix(engine);
        const QUrl expectedShape(prefix);
        const QUrl url = searchUrl(query, engine);
        const QString sent = url.toString(QUrl::FullyEncoded);
        if (!sent.startsWith(prefix) || url.scheme() != expectedShape.scheme() || url.host() != expectedShape.host() ||
            url.path() != expectedShape.path() || url.hasFragment())
            std::abort();
        const QString value = sent.mid(prefix.size());
        if (value.contains(QLatin1Char('&')) || value.contains(QLatin1Char('#')) ||
            QUrl::fromPercentEncoding(value.toUtf8()) != query)
            std::abort();
    }
    return 0;
}
