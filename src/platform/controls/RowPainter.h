// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStyledItemDelegate>

// Paints the rows of a list. A selected row is drawn in the list's highlight colours, with or without the focus:
// some styles draw a selection without the focus in a shade barely darker than the list (the Windows style in
// light grey on white). A skin's style sheet says for itself how a selected row looks.
class RowPainter final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
