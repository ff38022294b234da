// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Windows only. A DLL that the program loads is taken from Windows' system folder alone, never from the
// program's folder or the current one, where a same-named file (in a Downloads folder, say) could stand in for
// it. The DLLs the executable imports follow the same rule through its image's dependent-load flags; this call
// sets it for those loaded later, and comes first in main().
void restrictDllSearchToSystemFolder();
