// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStyledItemDelegate>

// Paints the rows of a list. A selected row is drawn in the list's highlight colours, with or without the focus:
// some styles draw a selection without the focus in a shade barely darker than the list (the Windows style in
// light grey on white). A skin's style sheet says for itself how a selected row looks. Where the style's drawing of
// an item is known, an item whose text fits on one line is drawn as the style would draw it with its text laid out
// once: the style lays it out three times, which was over a third of the cost of a row.
class RowPainter final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
