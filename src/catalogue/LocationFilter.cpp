// SPDX-License-Identifier: GPL-3.0-or-later
#include "LocationFilter.h"

LocationFilter::LocationFilter(const QString& filterText)
    : m_matcher(filterText, Qt::CaseInsensitive), m_isEmpty(filterText.isEmpty()),
      m_mayCrossJoint(filterText.contains(QLatin1Char(',')) || filterText.contains(QLatin1Char(' ')))
{
}

bool LocationFilter::passes(const LocationLine& location)
{
    if (location.name.isEmpty() && location.region.isEmpty())
        return false; // an empty display name
    if (m_isEmpty)
        return true;
    if (m_mayCrossJoint) {
        composeDisplayName(location, m_displayName);
        return m_matcher.indexIn(m_displayName) >= 0;
    }
    return m_matcher.indexIn(location.name) >= 0 || m_matcher.indexIn(location.region) >= 0;
}
