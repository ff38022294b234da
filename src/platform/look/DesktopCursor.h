// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The size, in device pixels, of the desktop's own arrow pointer: XCURSOR_SIZE where it is set, otherwise on X11 the
// Xcursor.size resource that desktops set with their scale; 0 when neither says.
int desktopCursorSize();
