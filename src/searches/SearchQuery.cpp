// SPDX-License-Identifier: GPL-3.0-or-later
#include "SearchQuery.h"

#include <iterator>

namespace {

// Bytes that would change the query's meaning in an address, and every byte beyond ASCII: percent-encoding
// those ourselves leaves nothing for QUrl to re-encode, so the engine decodes exactly the query's UTF-8.
bool needsEncoding(char byte)
{
    const auto code = static_cast<unsigned char>(byte);
    return code < 0x20 || code >= 0x7f || byte == '%' || byte == '&' || byte == '+' || byte == '#' || byte == '"';
}

struct EngineAddress
{
    QStringView name;
    QStringView prefix;
};

// Each engine's own result page, in the order of SearchEngine; each reads the query from "q" and honours "site:".
constexpr EngineAddress kEngineAddresses[] = {
    {u"Google", u"https://www.google.com/search?q="},
    {u"Bing", u"https://www.bing.com/search?q="},
    {u"DuckDuckGo", u"https://duckduckgo.com/?q="},
};
static_assert(std::size(kEngineAddresses) == kSearchEngines.size());

const EngineAddress& addressOf(SearchEngine engine)
{
    return kEngineAddresses[static_cast<size_t>(engine)];
}

} // namespace

QString searchEngineName(SearchEngine engine)
{
    return addressOf(engine).name.toString();
}

std::optional<SearchEngine> searchEngineNamed(QStringView name)
{
    for (const SearchEngine engine : kSearchEngines) {
        if (addressOf(engine).name == name)
            return engine;
    }
    return std::nullopt;
}

QString searchEnginePrefix(SearchEngine engine)
{
    return addressOf(engine).prefix.toString();
}

QString locationHost(const QString& locationUrl)
{
    QString host = locationUrl;
    host.remove(QStringLiteral("http://"));
    host.remove(QLatin1Char('/'));
    return host;
}

QString composeQuery(const QString& searchText, const QString& locationUrl)
{
    return searchText + QLatin1String(" site:") + locationHost(locationUrl);
}

QString searchAddress(const QString& query, SearchEngine engine)
{
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    const QByteArray utf8 = query.toUtf8();
    QByteArray encoded;
    encoded.reserve(utf8.size() * 3);
    for (const char byte : utf8) {
        if (needsEncoding(byte)) {
            const auto code = static_cast<unsigned char>(byte);
            encoded.append('%').append(kHexDigits[code >> 4]).append(kHexDigits[code & 0xf]);
        } else {
            encoded.append(byte);
        }
    }
    return searchEnginePrefix(engine) + QLatin1String(encoded);
}

QUrl searchUrl(const QString& query, SearchEngine engine)
{
    return QUrl(searchAddress(query, engine), QUrl::TolerantMode);
}
