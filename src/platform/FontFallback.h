// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QStringList>

// The installed faces drawn to Arial's measures, the window's layout font, in the order the program prefers them;
// empty when Arial itself is installed or none of them is. Names of installed families may carry their foundry
// ("Arimo [GOOG]"), as Qt lists them when two foundries make a family of the same name.
QStringList arialStandIns(const QStringList& installedFamilies);

// Makes Qt try the installed stand-ins for Arial before any other face, so that no caption outgrows the place the
// window gives it. Call once the application exists; calling it again changes nothing.
void useArialStandIns();

// The family to name in the window's fonts so that they are drawn in Arial or in its first installed stand-in, as
// useArialStandIns() would have them: "Arial" where Arial is installed, where no stand-in is, or where the system
// already draws Arial in that stand-in (fontconfig's own aliases for Arial usually do), else the stand-in's name.
// `drawnFamily` is the family Qt draws Arial in with no substitutes (perhaps with its foundry).
QString familyForArial(const QStringList& standIns, QStringView drawnFamily);

// The same for this system, asking Qt how `arial`, the window's first font (naming Arial), is drawn: the face that
// answer loads is the one the window loads next anyway. Substitutes for Arial would have Qt ask the system for a
// second list of fallback faces at every start (2.6 million instructions); they are set only when the window names
// its stand-in itself, for any other font that names Arial.
QString familyForArial(const QFont& arial);
