// SPDX-License-Identifier: GPL-3.0-or-later
#include "TownGroupCommands.h"

#include "SearchQuery.h"

#include "app/ErrorTrap.h"
#include "platform/base/Failure.h"
#include "platform/controls/ListModel.h"
#include "platform/desktop/Environment.h"
#include "platform/storage/SettingsStore.h"

#include <QSet>

namespace {
const QString kTownGroupsKey = QStringLiteral("TownGroups");

QString towns(qsizetype count)
{
    return count == 1 ? QStringLiteral("the town") : QStringLiteral("the %1 towns").arg(count);
}
} // namespace

TownGroupCommands::TownGroupCommands(QWidget& window, ListOnScreen locations, const Environment& environment,
                                     Store store)
    : m_window(window), m_locations(locations), m_environment(environment), m_store(std::move(store))
{
}

StoredTownGroups TownGroupCommands::read() const
{
    try {
        return splitTownGroups(m_environment.settings().readText(kTownGroupsKey));
    } catch (const Failure& failure) {
        throw Failure(QStringLiteral("The remembered towns cannot be read, so they are left as they are. ") +
                      failure.description());
    }
}

void TownGroupCommands::write(const StoredTownGroups& read, const QList<TownGroup>& groups, const ErrorTrap& trap,
                              int label) const
{
    QString keptIn;
    const bool written = trap.run(label, [&] {
        if (!read.whole)
            keptIn = m_environment.settings().keepCopy(kTownGroupsKey);
        m_store(kTownGroupsKey, joinTownGroups(groups));
    });
    if (written && !keptIn.isEmpty())
        trap.report(label, QStringLiteral("Part of the remembered towns was not in the form this program writes; "
                                          "all of it has been kept in %1.")
                               .arg(keptIn));
}

QStringList TownGroupCommands::names() const
{
    QStringList names;
    try {
        for (const TownGroup& group : read().groups)
            names.append(group.name);
    } catch (const Failure&) {
        // Said when the user tries to remember towns.
    }
    return names;
}

QStringList TownGroupCommands::selectedHosts() const
{
    if (m_locations.items.size() == 0)
        throw Failure(QStringLiteral("No location is listed, so there are no towns to remember."));
    QStringList hosts;
    for (const qsizetype position : m_locations.selection.selectedPositions())
        hosts.append(locationHost(m_locations.items.text(position - 1)));
    hosts.removeDuplicates();
    return hosts;
}

void TownGroupCommands::rememberSelected()
{
    const ErrorTrap trap = trapFor(QStringLiteral("mnuRememberTowns_Click"), m_environment, &m_window);
    QStringList hosts;
    StoredTownGroups stored;
    if (!trap.run(100, [&] {
            hosts = selectedHosts();
            stored = read();
        }))
        return;
    std::optional<QString> name;
    trap.run(102, [&] {
        name = m_environment.askText(&m_window, QStringLiteral("Remember These Towns"),
                                     QStringLiteral("A name for %1 selected:").arg(towns(hosts.size())));
    });
    if (!name)
        return;
    QList<TownGroup> groups = stored.groups;
    const qsizetype same = indexOfTownGroup(groups, *name);
    if (same >= 0) {
        bool replace = false;
        trap.run(104, [&] {
            replace = m_environment.askYesNo(&m_window, QStringLiteral("Remember These Towns"),
                                             QStringLiteral("Towns are remembered as \"%1\" already. Replace them "
                                                            "with %2 selected?")
                                                 .arg(*name, towns(hosts.size())));
        });
        if (!replace)
            return;
        groups[same] = {*name, hosts, {}};
    } else {
        groups.append({*name, hosts, {}});
    }
    write(stored, groups, trap, 106);
}

QList<qsizetype> TownGroupCommands::positionsOf(const TownGroup& group, QStringList& gone) const
{
    const QSet<QString> wanted(group.hosts.begin(), group.hosts.end());
    QSet<QString> found;
    QList<qsizetype> positions;
    for (qsizetype row = 0; row < m_locations.items.size(); ++row) {
        const QString host = locationHost(m_locations.items.text(row));
        if (wanted.contains(host)) {
            positions.append(row + 1);
            found.insert(host);
        }
    }
    for (const QString& host : group.hosts) {
        if (!found.contains(host))
            gone.append(host);
    }
    return positions;
}

bool TownGroupCommands::select(const QString& name)
{
    const ErrorTrap trap = trapFor(QStringLiteral("mnuSelectTowns_Click"), m_environment, &m_window);
    StoredTownGroups stored;
    qsizetype index = -1;
    QStringList gone;
    QList<qsizetype> positions;
    trap.run(100, [&] {
        stored = read();
        index = indexOfTownGroup(stored.groups, name);
        if (index < 0)
            throw Failure(QStringLiteral("No towns are remembered as \"%1\" any more.").arg(name));
        positions = positionsOf(stored.groups[index], gone);
        m_locations.selection.selectPositions(positions);
        if (!positions.isEmpty())
            m_locations.selection.ensureVisible(positions.first());
    });
    if (index >= 0 && !tellOfGoneTowns(stored, index, gone, trap) && positions.isEmpty())
        trap.report(100, QStringLiteral("None of the towns of \"%1\" is in the location list any more.").arg(name));
    return !positions.isEmpty();
}

// Each town that has gone is said once: the group remembers that the user was told.
bool TownGroupCommands::tellOfGoneTowns(StoredTownGroups& stored, qsizetype index, const QStringList& gone,
                                        const ErrorTrap& trap)
{
    TownGroup& group = stored.groups[index];
    QStringList untold;
    for (const QString& host : gone) {
        if (!group.toldGone.contains(host))
            untold.append(host);
    }
    if (untold.isEmpty())
        return false;
    group.toldGone += untold;
    write(stored, stored.groups, trap, 102);
    trap.report(102, QStringLiteral("%1 %2 of \"%3\" %4 no longer in the location list, so %5 left out. This is "
                                    "said only once.")
                         .arg(untold.size() == 1 ? QStringLiteral("The town") : QStringLiteral("The towns"),
                              untold.join(QLatin1String(", ")), group.name,
                              untold.size() == 1 ? QStringLiteral("is") : QStringLiteral("are"),
                              untold.size() == 1 ? QStringLiteral("it is") : QStringLiteral("they are")));
    return true;
}

void TownGroupCommands::forget(const QString& name)
{
    const ErrorTrap trap = trapFor(QStringLiteral("mnuForgetTowns_Click"), m_environment, &m_window);
    StoredTownGroups stored;
    if (!trap.run(100, [&] { stored = read(); }))
        return;
    QList<TownGroup> groups = stored.groups;
    const qsizetype index = indexOfTownGroup(groups, name);
    if (index < 0)
        return;
    groups.removeAt(index);
    write(stored, groups, trap, 102);
}
