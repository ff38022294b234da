// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

// The program's icon, the same pictures as the executable's own.
QIcon programIcon();
