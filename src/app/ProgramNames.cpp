// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgramNames.h"

#include "Main.h"

SettingsStoreNames ProgramNames::settingsStore()
{
    return {QStringLiteral("Quillmark"), Main::kProductTitle, QStringLiteral(".unrestored")};
}

QString ProgramNames::settingsFileIn(const QString& configFolder)
{
    return SettingsStore::userFileIn(configFolder, settingsStore());
}
