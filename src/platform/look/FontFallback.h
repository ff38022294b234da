// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QStringList>

// The installed faces drawn to Arial's measures, the window's layout font, in the order the program prefers them;
// empty when Arial itself is installed or none of them is. Names of installed families may carry their foundry
// ("Arimo [GOOG]"), as Qt lists them when two foundries make a family of the same name.
QStringList arialStandIns(const QStringList& installedFamilies);

// Whether Qt must be told of the stand-ins: true unless there are none or the system already draws Arial in the
// first of them (fontconfig's own aliases for Arial usually do). `drawnFamily` is the family Qt draws Arial in
// without being told, perhaps with its foundry.
bool arialNeedsStandIns(const QStringList& standIns, QStringView drawnFamily);

// Makes Qt try the installed stand-ins for Arial before any other face, so that no caption outgrows the place the
// window gives it, where the system would not draw Arial in the first of them anyway: Qt asks the system for a
// second list of fallback faces at once for a font whose family has substitutes, a cost at every start.
// `arial`, the window's first font, is asked how it is drawn, which loads the face the window loads next;
// fonts made afterwards see the stand-ins. Call once the application exists; calling it again changes nothing.
void useArialStandIns(const QFont& arial);
