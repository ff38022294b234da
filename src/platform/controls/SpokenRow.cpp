// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/controls/SpokenRow.h"

QString spokenCellText(QStringView text, QStringView subItem1, int column)
{
    if (!subItem1.isEmpty())
        return subItem1.toString();
    return column == 0 ? text.toString() : QString();
}

QString spokenRowPosition(int row, qsizetype rowCount)
{
    return QStringLiteral("%1 of %2").arg(row + 1).arg(rowCount);
}
