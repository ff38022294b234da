// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <QUrl>

#include <array>
#include <optional>

// The search engines whose result page a query can open on.
enum class SearchEngine {
    Google,
    Bing,
    DuckDuckGo,
};
inline constexpr std::array kSearchEngines = {SearchEngine::Google, SearchEngine::Bing, SearchEngine::DuckDuckGo};
inline constexpr SearchEngine kDefaultSearchEngine = SearchEngine::Google;

// The engine's name, as the menu shows it and the settings store keeps it.
QString searchEngineName(SearchEngine engine);
// The engine a stored name stands for, compared exactly; none for a name of no engine.
std::optional<SearchEngine> searchEngineNamed(QStringView name);
// The engine's result page up to its query's value: "https://", the engine's host, the page's path and "?q=".
QString searchEnginePrefix(SearchEngine engine);

// The host of the classifieds site's Albany location, used by the sample search.
inline const QString kSampleLocationHost = QStringLiteral("albany.bazaarly.org");
inline const QString kSampleQuery = QStringLiteral("lawnmower site:") + kSampleLocationHost;

// The location URL without any "http://" and then without any "/": the part that follows "site:".
QString locationHost(const QString& locationUrl);

// The search text exactly as typed, " site:", and the location host.
QString composeQuery(const QString& searchText, const QString& locationUrl);

// The engine's result page for a query: the engine's prefix, then the query with the characters that would
// change its meaning in an address ("%", "&", "+", "#", the double quotation mark and control characters) and
// the letters beyond ASCII percent-encoded, so that the engine receives exactly the query as the value of "q". No
// query can change the address's scheme, host, path or other parameters.
QString searchAddress(const QString& query, SearchEngine engine);
QUrl searchUrl(const QString& query, SearchEngine engine);
