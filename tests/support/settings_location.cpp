// SPDX-License-Identifier: GPL-3.0-or-later
// Prints where the program keeps this user's settings, found as the program finds it (XDG_CONFIG_HOME and all),
// for the scripts that check the stored list from outside.
#include "app/ProgramNames.h"
#include "platform/storage/SettingsStore.h"

#include <cstdio>

int main()
{
    std::printf("%s\n", qPrintable(SettingsStore(ProgramNames::settingsStore()).location()));
}
