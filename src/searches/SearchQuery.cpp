#include "SearchQuery.h"

namespace {

bool changesMeaningInAddress(QChar c)
{
    const char16_t code = c.unicode();
    return code < 0x20 || code == 0x7f || code == u'%' || code == u'&' || code == u'+' || code == u'#' || code == u'"';
}

void appendPercentEncoded(QString& out, char16_t code)
{
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    out.append(QLatin1Char('%'));
    out.append(QLatin1Char(kHexDigits[code >> 4]));
    out.append(QLatin1Char(kHexDigits[code & 0xf]));
}

} // namespace

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

QString searchAddress(const QString& query)
{
    QString address = kSearchEnginePrefix;
    address.reserve(address.size() + query.size() * 3);
    for (const QChar c : query) {
        if (changesMeaningInAddress(c))
            appendPercentEncoded(address, c.unicode());
        else
            address.append(c);
    }
    return address;
}

QUrl searchUrl(const QString& query)
{
    return QUrl(searchAddress(query), QUrl::TolerantMode);
}
