// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/controls/RowPainter.h"

#include <QApplication>
#include <QPainter>
#include <QTextLayout>

namespace {

bool isStyledBySheet(const QWidget* widget)
{
    return widget != nullptr && widget->style()->inherits("QStyleSheetStyle");
}

// The style whose drawing of an item is known here step for step: Qt's Fusion, which leaves items to the drawing
// that all of Qt's styles share. A style derived from it, a proxy or a style sheet may draw them otherwise.
bool drawsItemsTheSharedWay(const QStyle& style)
{
    return qstrcmp(style.metaObject()->className(), "QFusionStyle") == 0;
}

// An item that is nothing but its text across the whole cell: no check box, no icon, no focus frame and no
// selection of the style's own, no editor and no wrapping.
bool isTextAlone(const QStyleOptionViewItem& item)
{
    const QStyle::State drawnAround = QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_Editing;
    const QStyleOptionViewItem::ViewItemFeatures besideText = QStyleOptionViewItem::HasCheckIndicator |
                                                              QStyleOptionViewItem::HasDecoration |
                                                              QStyleOptionViewItem::WrapText;
    return !(item.state & drawnAround) && !(item.features & besideText) && !item.text.isEmpty() &&
           item.showDecorationSelected && item.decorationPosition == QStyleOptionViewItem::Left;
}

QPalette::ColorGroup colourGroupOf(const QStyleOptionViewItem& item)
{
    if (!item.state.testFlag(QStyle::State_Enabled))
        return QPalette::Disabled;
    return item.state.testFlag(QStyle::State_Active) ? QPalette::Normal : QPalette::Inactive;
}

// Draws an item as the style would, its text laid out once. The style lays an item's text out three times: to
// measure it, to see whether it must lose characters to fit, and to draw it, which was over a third of the cost
// of a row. Only for a single line that fits its cell; false, with nothing drawn, for any other item.
bool drawTextLaidOutOnce(QPainter* painter, const QStyleOptionViewItem& item, const QStyle& style)
{
    if (!drawsItemsTheSharedWay(style) || !isTextAlone(item))
        return false;
    const int margin = style.pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, item.widget) + 1;
    const QRect textRect = item.rect.adjusted(margin, 0, -margin, 0);
    QTextOption textOption;
    textOption.setWrapMode(QTextOption::ManualWrap);
    textOption.setTextDirection(item.direction);
    textOption.setAlignment(QStyle::visualAlignment(item.direction, item.displayAlignment));
    QTextLayout layout(item.text, item.font);
    layout.setTextOption(textOption);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(textRect.width());
    line.setPosition(QPointF(0, 0));
    const bool oneLine = !layout.createLine().isValid();
    layout.endLayout();
    const QSize size = layout.boundingRect().size().toSize();
    if (!oneLine || line.naturalTextWidth() > textRect.width() || size.height() > textRect.height())
        return false; // to be shortened or cut, which the style does
    const int top = QStyle::alignedRect(Qt::LayoutDirectionAuto, item.displayAlignment, size, textRect).top();

    painter->save();
    painter->setClipRect(item.rect);
    style.drawPrimitive(QStyle::PE_PanelItemViewItem, &item, painter, item.widget);
    painter->setPen(item.palette.color(colourGroupOf(item), QPalette::Text));
    layout.draw(painter, QPointF(textRect.x(), top));
    painter->restore();
    return true;
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
    initStyleOption(&item, index);
    const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    if (!drawTextLaidOutOnce(painter, item, *style))
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, option.widget);
}
