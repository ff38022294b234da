// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The user's home folder: HOME where it names a folder by its whole path, else the one the user database gives
// (a session started without HOME, or with a relative one, would otherwise keep the list in the working folder or
// at the root).
QString userHomeFolder();

// Where the user's configuration files go on Linux and the other Unix systems: XDG_CONFIG_HOME where it is a whole
// path (a relative one is to be ignored, as the desktop's base-directory rules say), else .config in the home
// folder.
QString userConfigFolder();
