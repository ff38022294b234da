// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The box the search text is typed in, as the search-list commands use it.
class SearchBox
{
public:
    virtual ~SearchBox() = default;

    virtual QString text() const = 0;
    // Empties the box, leaving in it no typing to take back.
    virtual void clear() = 0;
    // Gives the box the keyboard focus.
    virtual void focus() = 0;
};
