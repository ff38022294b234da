// SPDX-License-Identifier: GPL-3.0-or-later
#include "TownGroups.h"

#include "StoredSearches.h"

#include <algorithm>
#include <optional>

namespace {
constexpr QChar kToldGone = u'~';

bool isHost(QStringView part)
{
    return !part.isEmpty() && std::none_of(part.begin(), part.end(), [](QChar c) { return c.isSpace(); });
}

// The group whose parts run from `first` up to the empty part that ends it, or none when they are not one.
std::optional<TownGroup> groupOf(const StoredSearchParts& parts, qsizetype first, qsizetype end)
{
    TownGroup group{parts[first].toString(), {}, {}};
    for (qsizetype i = first + 1; i < end; ++i) {
        QStringView host = parts[i];
        const bool toldGone = host.startsWith(kToldGone);
        if (toldGone)
            host = host.sliced(1);
        if (!isHost(host))
            return std::nullopt;
        group.hosts.append(host.toString());
        if (toldGone)
            group.toldGone.append(host.toString());
    }
    if (group.name.isEmpty() || group.hosts.isEmpty())
        return std::nullopt;
    return group;
}
} // namespace

QString joinTownGroups(const QList<TownGroup>& groups)
{
    QStringList parts;
    for (const TownGroup& group : groups) {
        parts.append(group.name);
        for (const QString& host : group.hosts)
            parts.append(group.toldGone.contains(host) ? kToldGone + host : host);
        parts.append(QString());
    }
    return joinStoredSearches(QList<QStringView>(parts.begin(), parts.end()));
}

StoredTownGroups splitTownGroups(QStringView value)
{
    StoredTownGroups stored;
    if (value.isEmpty())
        return stored;
    const StoredSearchParts parts = splitStoredSearches(value);
    // The last part, after the final "|", is empty in a value written whole.
    const qsizetype last = parts.size() - 1;
    stored.whole = parts[last].isEmpty();
    for (qsizetype first = 0; first < last;) {
        qsizetype end = first;
        while (end < last && !parts[end].isEmpty())
            ++end;
        const std::optional<TownGroup> group = end < last ? groupOf(parts, first, end) : std::nullopt;
        if (group)
            stored.groups.append(*group);
        else
            stored.whole = false;
        first = end + 1;
    }
    return stored;
}

qsizetype indexOfTownGroup(const QList<TownGroup>& groups, const QString& name)
{
    const auto found =
        std::find_if(groups.begin(), groups.end(), [&](const TownGroup& group) { return group.name == name; });
    return found == groups.end() ? -1 : found - groups.begin();
}
