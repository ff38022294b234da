#include "StoredSearches.h"

#include <utility>

namespace {
constexpr QChar kSeparator = u'|';
constexpr QChar kEscape = u'\\';
} // namespace

QString joinStoredSearches(const QStringList& queries)
{
    qsizetype length = 0;
    for (const QString& query : queries)
        length += query.size() + 1;
    QString value;
    value.reserve(length);
    for (const QString& query : queries) {
        // Whole runs between the characters to escape go in at once; most queries are one run.
        qsizetype runStart = 0;
        for (qsizetype i = 0; i < query.size(); ++i) {
            if (query[i] == kSeparator || query[i] == kEscape) {
                value.append(QStringView(query).sliced(runStart, i - runStart)).append(kEscape);
                runStart = i;
            }
        }
        value.append(QStringView(query).sliced(runStart)).append(kSeparator);
    }
    return value;
}

QStringList splitStoredSearches(const QString& value)
{
    const QStringView text(value);
    QStringList parts;
    QString part;
    qsizetype chunkStart = 0; // the start of the text not yet copied into `part`
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == kSeparator) {
            part.append(text.sliced(chunkStart, i - chunkStart));
            parts.append(std::exchange(part, QString()));
            chunkStart = i + 1;
        } else if (text[i] == kEscape && i + 1 < text.size() && (text[i + 1] == kSeparator || text[i + 1] == kEscape)) {
            part.append(text.sliced(chunkStart, i - chunkStart));
            chunkStart = ++i; // the escaped character starts the next chunk
        }
    }
    part.append(text.sliced(chunkStart));
    parts.append(part);
    return parts;
}
