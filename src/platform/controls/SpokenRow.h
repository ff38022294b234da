// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

// What a screen reader says for a cell of a list whose rows hold an item's text and its first sub-item: the text
// the row shows. An item with a sub-item keeps its own text in a column too narrow to see (the location list's
// address), so the sub-item is said in every cell of the row; an item without one is said in its first column.
QString spokenCellText(QStringView text, QStringView subItem1, int column);

// Where a row stands, as a screen reader says it after the row: "3 of 28" for the 0-based row 2.
QString spokenRowPosition(int row, qsizetype rowCount);
