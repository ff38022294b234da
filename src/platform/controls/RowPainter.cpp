// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/controls/RowPainter.h"

#include <QPainter>

namespace {

bool isStyledBySheet(const QWidget* widget)
{
    return widget != nullptr && widget->style()->inherits("QStyleSheetStyle");
}

} // namespace

void RowPainter::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem item(option);
    if (option.state.testFlag(QStyle::State_Selected) && !isStyledBySheet(option.widget)) {
        painter->fillRect(option.rect, option.palette.brush(QPalette::Active, QPalette::Highlight));
        item.state &= ~(QStyle::State_Selected | QStyle::State_MouseOver);
        item.palette.setColor(QPalette::Text, option.palette.color(QPalette::Active, QPalette::HighlightedText));
    }
    QStyledItemDelegate::paint(painter, item, index);
}
