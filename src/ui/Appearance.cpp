// SPDX-License-Identifier: GPL-3.0-or-later
#include "Appearance.h"

QIcon programIcon()
{
    return QIcon(QStringLiteral(":/icons/bazaarly.ico"));
}
