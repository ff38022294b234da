// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A whole number from 1 to 100, drawn from a generator seeded with the seconds since midnight.
int drawHomePageNumberFromTimeOfDay();
