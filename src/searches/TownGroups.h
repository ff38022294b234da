// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// Towns the user remembered under a name, to select them all again in one go. Each town is kept by its host, the
// part of a query after "site:", so a group outlives changes to the catalogue's names and order.
struct TownGroup
{
    QString name;
    QStringList hosts;
    // The hosts found missing from the catalogue, which the user has been told of.
    QStringList toldGone;
};

// The groups as the settings store keeps them, and whether they were read whole.
struct StoredTownGroups
{
    QList<TownGroup> groups;
    // False when part of the value was not a group as this program writes them; that part is left out.
    bool whole = true;
};

// The groups as one stored text: for each group its name, its hosts (a host the user was told is gone marked
// with a leading "~") and an empty part, each part followed by "|" and escaped as the search list's are.
QString joinTownGroups(const QList<TownGroup>& groups);
// The groups of a stored value, in their order; a part that is not a group as joinTownGroups writes them (a group
// without towns, a host with blanks, an end cut off) is left out and makes the value not whole.
StoredTownGroups splitTownGroups(QStringView value);

// Where the group of that name is in the list, or -1.
qsizetype indexOfTownGroup(const QList<TownGroup>& groups, const QString& name);
