// SPDX-License-Identifier: GPL-3.0-or-later
// Saves two different search lists into a settings file, one after the other, until it is killed, and says on
// its output when each save starts and ends, so that whoever kills it knows whether a save was under way.
// Usage: settings_writer SETTINGS_FILE
#include "app/ProgramNames.h"
#include "platform/storage/SettingsStore.h"

#include <QCoreApplication>
#include <QString>

#include <cstdio>

static void say(const char* line)
{
    std::puts(line);
    std::fflush(stdout);
}

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    if (argc != 2)
        return 2;
    SettingsStore store(QString::fromLocal8Bit(argv[1]), ProgramNames::settingsStore());
    const QString values[] = {QString(1 << 20, QLatin1Char('a')) + QLatin1Char('|'),
                              QString(1 << 20, QLatin1Char('b')) + QLatin1Char('|')};
    for (unsigned round = 0;; ++round) {
        say("writing");
        store.writeText(QStringLiteral("Searches"), values[round % 2]);
        say("written");
    }
}
