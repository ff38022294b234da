// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>

class ListModel;

// What the user picked in a list on screen, and where the list looks: the part of a list that its items, held in
// a ListModel, do not say. Positions count from 1, as the commands count them; asking for the selection of a list
// where nothing is selected, or for a position with no item, is a Failure.
class ListSelection
{
public:
    virtual ~ListSelection() = default;

    virtual qsizetype selectedPosition() const = 0;
    // Every selected item's position, in list order.
    virtual QList<qsizetype> selectedPositions() const = 0;
    // Selects just the item at the position and makes it the current one.
    virtual void selectPosition(qsizetype position) = 0;
    // Selects just the items at the positions, and makes the first the current one.
    virtual void selectPositions(const QList<qsizetype>& positions) = 0;
    // Scrolls the list, if need be, so that the item at the position can be seen.
    virtual void ensureVisible(qsizetype position) = 0;
    // Takes out one item; when it was selected, the item that takes its place (or the new last one) is selected.
    virtual void removeItem(qsizetype position) = 0;
    // Takes out count items in one change that moves no selection: the caller says what is selected afterwards.
    virtual void removeItems(qsizetype position, qsizetype count) = 0;
};

// A list on screen as the commands use it: its items, and what the user picked of them.
struct ListOnScreen
{
    ListModel& items;
    ListSelection& selection;
};
