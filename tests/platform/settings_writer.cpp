// SPDX-License-Identifier: GPL-3.0-or-later
// Saves two different search lists into a settings file, one after the other, until it is killed.
// Usage: settings_writer SETTINGS_FILE
#include "app/ProgramNames.h"
#include "platform/SettingsStore.h"

#include <QCoreApplication>
#include <QString>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    if (argc != 2)
        return 2;
    SettingsStore store(QString::fromLocal8Bit(argv[1]), ProgramNames::settingsStore());
    const QString values[] = {QString(1 << 20, QLatin1Char('a')) + QLatin1Char('|'),
                              QString(1 << 20, QLatin1Char('b')) + QLatin1Char('|')};
    for (unsigned round = 0;; ++round) {
        store.writeText(QStringLiteral("Searches"), values[round % 2]);
        if (round == 0) {
            std::puts("saving");
            std::fflush(stdout);
        }
    }
}
