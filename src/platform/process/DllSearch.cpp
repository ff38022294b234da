// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/process/DllSearch.h"

#include <windows.h>

// The image's load configuration, read by Windows before any code of the program runs, so it is a constant:
// the dependent-load flags in it apply to the DLLs the executable imports. The linker finds the table by this
// name. This MinGW-w64 header still calls the flags' field Reserved1, after the CSD version.
extern "C" __attribute__((used)) constexpr IMAGE_LOAD_CONFIG_DIRECTORY64 _load_config_used = {
    sizeof(IMAGE_LOAD_CONFIG_DIRECTORY64), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    LOAD_LIBRARY_SEARCH_SYSTEM32,          0, 0, 0, 0};

void restrictDllSearchToSystemFolder()
{
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}
