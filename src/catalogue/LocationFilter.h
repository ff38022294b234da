// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LocationLine.h"

#include <QStringMatcher>

// The filter's test: whether a location's display name contains the filter text, letter case ignored. A
// location with an empty display name never passes; the empty filter text passes every other.
class LocationFilter final
{
public:
    explicit LocationFilter(const QString& filterText);

    bool passes(const LocationLine& location);

private:
    QStringMatcher m_matcher;
    bool m_isEmpty;
    // Only a text with a comma or a blank can match across the ", " that joins name and region; any other
    // matches the display name exactly when it matches the name or the region, which spares joining them.
    bool m_mayCrossJoint;
    QString m_displayName;
};
