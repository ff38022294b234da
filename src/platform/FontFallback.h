// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// The installed faces drawn to Arial's measures, the window's layout font, in the order the program prefers them;
// empty when Arial itself is installed or none of them is. Names of installed families may carry their foundry
// ("Arimo [GOOG]"), as Qt lists them when two foundries make a family of the same name.
QStringList arialStandIns(const QStringList& installedFamilies);

// Makes Qt try the installed stand-ins for Arial before any other face, so that no caption outgrows the place the
// window gives it. Call once the application exists; calling it again changes nothing.
void useArialStandIns();
