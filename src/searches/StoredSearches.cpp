// SPDX-License-Identifier: GPL-3.0-or-later
#include "StoredSearches.h"


#include <algorithm>

namespace {
constexpr QChar kSeparator = u'|';
constexpr QChar kEscape = u'\\';

// Moves `next`, the position of a `character` in `text`, to the first at or after `from`; a position still
// ahead is kept, so the text is scanned once however the two characters alternate. -1 once there are no more.
void advance(qsizetype& next, QStringView text, QChar character, qsizetype from)
{
    if (next >= 0 && next < from)
        next = text.indexOf(character, from);
}

bool holdsCharacterToEscape(QStringView query)
{
    return query.contains(kSeparator) || query.contains(kEscape);
}
} // namespace

QString joinStoredSearches(const QList<QStringView>& queries)
{
    qsizetype length = 0;
    for (const QStringView query : queries)
        length += query.size() + 1;
    // Sized for the usual list, in which no query holds a character to escape, and written in place: each query
    // is copied whole, and only a query with escapes makes room for them.
    QString value(length, Qt::Uninitialized);
    QChar* out = value.data();
    for (const QStringView query : queries) {
        if (holdsCharacterToEscape(query)) {
            const qsizetype written = out - value.constData();
            value.resize(value.size() + query.count(kSeparator) + query.count(kEscape));
            out = value.data() + written;
            for (const QChar c : query) {
                if (c == kSeparator || c == kEscape)
                    *out++ = kEscape;
                *out++ = c;
            }
        } else {
            out = std::copy(query.begin(), query.end(), out);
        }
        *out++ = kSeparator;
    }
    return value;
}

QStringView StoredSearchParts::operator[](qsizetype index) const
{
    const qsizetype start = index == 0 ? 0 : m_ends[static_cast<size_t>(index - 1)];
    return QStringView(m_text).sliced(start, m_ends[static_cast<size_t>(index)] - start);
}

StoredSearchParts splitStoredSearches(QStringView value)
{
    StoredSearchParts parts;
    parts.m_text.reserve(value.size());
    qsizetype nextSeparator = value.indexOf(kSeparator);
    qsizetype nextEscape = value.indexOf(kEscape);
    qsizetype chunkStart = 0; // the start of the text not yet copied into the current part
    for (qsizetype from = 0;;) {
        advance(nextSeparator, value, kSeparator, from);
        advance(nextEscape, value, kEscape, from);
        if (nextEscape >= 0 && (nextSeparator < 0 || nextEscape < nextSeparator)) {
            const qsizetype escaped = nextEscape + 1;
            from = escaped;
            if (escaped < value.size() && (value[escaped] == kSeparator || value[escaped] == kEscape)) {
                parts.m_text.append(value.sliced(chunkStart, nextEscape - chunkStart));
                chunkStart = escaped; // the escaped character starts the next chunk
                from = escaped + 1;
            }
        } else if (nextSeparator >= 0) {
            parts.m_text.append(value.sliced(chunkStart, nextSeparator - chunkStart));
            parts.endPart();
            chunkStart = from = nextSeparator + 1;
        } else {
            break;
        }
    }
    parts.m_text.append(value.sliced(chunkStart));
    parts.endPart();
    return parts;
}

QString withWholeCharacters(QString value, qsizetype& replaced)
{
    replaced = 0;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c.isHighSurrogate() && i + 1 < value.size() && value[i + 1].isLowSurrogate())
            ++i; // a whole character
        else if (c.isSurrogate()) {
            value[i] = QChar::ReplacementCharacter;
            ++replaced;
        }
    }
    return value;
}
