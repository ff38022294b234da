// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QUrl>

// The search engine whose result page reads the query from the "#q=" fragment.
inline const QString kSearchEngineHost = QStringLiteral("www.google.com");
inline const QString kSearchEnginePrefix = QStringLiteral("https://") + kSearchEngineHost + QStringLiteral("/#q=");

// The host of the classifieds site's Albany location, used by the sample search.
inline const QString kSampleLocationHost = QStringLiteral("albany.bazaarly.org");
inline const QString kSampleQuery = QStringLiteral("lawnmower site:") + kSampleLocationHost;

// The location URL without any "http://" and then without any "/": the part that follows "site:".
QString locationHost(const QString& locationUrl);

// The search text exactly as typed, " site:", and the location host.
QString composeQuery(const QString& searchText, const QString& locationUrl);

// The result page's address for a query: the engine's prefix, then the query with the characters that would
// change its meaning in an address ("%", "&", "+", "#", the double quotation mark and control characters) and
// the letters beyond ASCII percent-encoded, so that the engine receives exactly the query. No query can change
// the address's scheme, host or path.
QString searchAddress(const QString& query);
QUrl searchUrl(const QString& query);
