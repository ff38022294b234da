// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ListSelection.h"
#include "TownGroups.h"

#include <QStringList>

#include <functional>

class ErrorTrap;
class QWidget;
struct Environment;

// The commands of the location list's menu that remember the selected towns under a name, select them again and
// forget them, each under its own error trap. The groups are read from the settings store afresh for every
// command, so that another copy of the program may change them meanwhile, and a value that cannot be read is
// never written over.
class TownGroupCommands final
{
public:
    // Writes a setting beside the search list, with the protections the list has.
    using Store = std::function<void(const QString& key, const QString& value)>;

    TownGroupCommands(QWidget& window, ListOnScreen locations, const Environment& environment, Store store);

    // The names of the remembered groups, in the order they were first remembered; none when the store cannot be
    // read (remembering says why).
    QStringList names() const;
    // "Remember These Towns...": asks a name for the selected towns and keeps them under it; a name in use is
    // replaced once the user agrees.
    void rememberSelected();
    // Selects exactly the group's towns in the location list, which must list the whole catalogue, and brings the
    // first into view; a town the catalogue no longer has is left out, and said the first time only. True when
    // any town was selected.
    bool select(const QString& name);
    // "Forget Towns": the group is remembered no more.
    void forget(const QString& name);

private:
    StoredTownGroups read() const;
    // Writes the groups over those read under the trap's label; a value not read whole is copied first, and the
    // user told where.
    void write(const StoredTownGroups& read, const QList<TownGroup>& groups, const ErrorTrap& trap, int label) const;
    QStringList selectedHosts() const;
    QList<qsizetype> positionsOf(const TownGroup& group, QStringList& gone) const;
    // True when there was a town to tell of.
    bool tellOfGoneTowns(StoredTownGroups& stored, qsizetype index, const QStringList& gone, const ErrorTrap& trap);

    QWidget& m_window;
    ListOnScreen m_locations;
    const Environment& m_environment;
    Store m_store;
};
