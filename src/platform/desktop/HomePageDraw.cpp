// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/HomePageDraw.h"

#include <QTime>

#include <random>

int drawHomePageNumberFromTimeOfDay()
{
    const auto secondsSinceMidnight = static_cast<unsigned>(QTime::currentTime().msecsSinceStartOfDay() / 1000);
    std::mt19937 generator(secondsSinceMidnight);
    return std::uniform_int_distribution<int>(1, 100)(generator);
}
