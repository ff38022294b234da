// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/controls/ListView.h"

#include "platform/base/Failure.h"
#include "platform/base/Twips.h"
#include "platform/controls/FrameOverlay.h"
#include "platform/controls/RowPainter.h"
#include "platform/look/Accessibility.h"
#include "platform/look/Contrast.h"

#include <QEvent>
#include <QHeaderView>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>

#include <algorithm>

ListView::ListView(QWidget* parent) : QTreeView(parent), m_model(this)
{
    setModel(&m_model);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setIndentation(0);
    setUniformRowHeights(true); // lets the view lay out a million rows without measuring each
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setMouseTracking(true);
    header()->setStretchLastSection(true);
    setTextElideMode(Qt::ElideMiddle); // a query keeps both its words and its site: town
    setItemDelegate(new RowPainter(this));
    header()->setSectionsMovable(false);
    header()->setMinimumSectionSize(0);
    header()->viewport()->setMouseTracking(true);
    header()->viewport()->installEventFilter(this);
    new FrameOverlay(this);
    for (QScrollBar* bar : {verticalScrollBar(), horizontalScrollBar()})
        makeHandleStandOut(*bar);
    // At fractional scales an X11 screen can keep a one-pixel line of the old highlight at the edge of the row that
    // lost the selection, although Qt's own picture of the list is right; repainting the visible rows, a few dozen
    // at most, leaves none.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, viewport(), qOverload<>(&QWidget::update));

    connect(&m_model, &ListModel::rowsInserted, this, &ListView::keepAnItemSelected);
    connect(&m_model, &ListModel::modelReset, this, &ListView::keepAnItemSelected);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &ListView::keepAnItemSelected);
    connect(header(), &QHeaderView::sectionResized, this, &ListView::keepCurrentInReadableColumn);

    keepSelectionVisible();
}

void ListView::keepSelectionVisible()
{
    // The selection stays visible when the focus moves to a button that is about to use it, and it stands out from
    // the list's background even where the theme's highlight barely does (some dark themes).
    QPalette colours = palette();
    const QColor highlight = standingOutFrom(colours.color(QPalette::Active, QPalette::Base),
                                             colours.color(QPalette::Active, QPalette::Highlight));
    const QColor text = readableOn(highlight, colours.color(QPalette::Active, QPalette::HighlightedText));
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        colours.setColor(group, QPalette::Highlight, highlight);
        colours.setColor(group, QPalette::HighlightedText, text);
    }
    setPalette(colours);
}

void ListView::addColumn(const QString& header)
{
    m_model.addColumn(header);
}

void ListView::setColumnWidthTwips(int position, int twips)
{
    if (position < 1 || position > m_model.columnCount())
        throw Failure(QStringLiteral("Column %1 does not exist; the list has %2 columns.")
                          .arg(position)
                          .arg(m_model.columnCount()));
    setColumnWidth(position - 1, twipsToPixels(twips));
}

void ListView::removeItems(qsizetype position, qsizetype count)
{
    if (count <= 0)
        return;
    checkPosition(position);
    checkPosition(position + count - 1);
    const QScopedValueRollback removing(m_removing, true);
    m_model.remove(position - 1, count);
}

QString ListView::itemText(qsizetype position) const
{
    checkPosition(position);
    return m_model.text(position - 1);
}

void ListView::removeItem(qsizetype position)
{
    checkPosition(position);
    const int row = static_cast<int>(position - 1);
    const bool removesSelection = selectionModel()->isRowSelected(row);
    {
        // The selection follows the item that takes the removed one's place, not the one the view would pick.
        const QScopedValueRollback removing(m_removing, true);
        m_model.remove(row);
    }
    if (removesSelection && m_model.size() > 0)
        selectRow(std::min(row, static_cast<int>(m_model.size()) - 1));
}

qsizetype ListView::selectedPosition() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty())
        throw Failure(QStringLiteral("No item is selected in the list."));
    return rows.first().row() + 1;
}

void ListView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    if (hasFocus()) {
        QTreeView::currentChanged(current, previous); // which tells a screen reader of the item with the focus
        return;
    }
    // A list rebuilt while the user types in the filter box must not take the screen reader's attention from the
    // box: only the widget that holds the focus speaks of focus. The tree view's own part of the change is the
    // repainting of the two rows, done for every selection change.
    QAbstractItemView::currentChanged(current, previous);
    viewport()->update();
}

QList<qsizetype> ListView::selectedPositions() const
{
    QList<qsizetype> positions;
    for (const QModelIndex& row : selectionModel()->selectedRows())
        positions.append(row.row() + 1);
    if (positions.isEmpty())
        throw Failure(QStringLiteral("No item is selected in the list."));
    std::sort(positions.begin(), positions.end()); // the selection keeps the order the user picked the items in
    return positions;
}

void ListView::selectPosition(qsizetype position)
{
    checkPosition(position);
    selectRow(static_cast<int>(position - 1));
}

void ListView::selectPositions(const QList<qsizetype>& positions)
{
    if (positions.isEmpty())
        return;
    QItemSelection rows;
    for (const qsizetype position : positions) {
        checkPosition(position);
        const int row = static_cast<int>(position - 1);
        rows.select(m_model.index(row, 0), m_model.index(row, m_model.columnCount() - 1));
    }
    selectionModel()->setCurrentIndex(m_model.index(static_cast<int>(positions.first() - 1), readableColumn()),
                                      QItemSelectionModel::NoUpdate);
    selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ListView::ensureVisible(qsizetype position)
{
    checkPosition(position);
    scrollTo(m_model.index(static_cast<int>(position - 1), readableColumn()));
}

qsizetype ListView::positionAt(const QPoint& point) const
{
    return indexAt(point).row() + 1;
}

void ListView::allowSeveralSelected()
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ListView::describeSelectionForScreenReaders);
    connect(&m_model, &ListModel::modelReset, this, &ListView::describeSelectionForScreenReaders);
}

void ListView::describeSelectionForScreenReaders()
{
    // Read out after the list's name as it takes the focus, and again whenever the count changes.
    setAccessibleDescription(
        QStringLiteral("%1 of %2 selected").arg(selectionModel()->selectedRows().size()).arg(m_model.size()));
}

void ListView::focusInEvent(QFocusEvent* event)
{
    QTreeView::focusInEvent(event);
    // Said after the list itself, which Qt announces once this returns, so the reader ends on the selected item.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (hasFocus())
                announceCurrentItem(*this);
        },
        Qt::QueuedConnection);
    viewport()->update(); // the focus rectangle
}

void ListView::focusOutEvent(QFocusEvent* event)
{
    QTreeView::focusOutEvent(event);
    viewport()->update();
}

void ListView::paintEvent(QPaintEvent* event)
{
    QTreeView::paintEvent(event);
    if (!hasFocus())
        return;
    // As plain to see as the dotted rectangle of a Windows list: around the current row, or the empty list.
    const QModelIndex current = currentIndex();
    const QRect cell = current.isValid() ? visualRect(current) : QRect();
    const QRect row = cell.isValid() ? QRect(0, cell.top(), viewport()->width(), cell.height()) : viewport()->rect();
    const bool onSelection = current.isValid() && selectionModel()->isRowSelected(current.row());
    QPainter painter(viewport());
    painter.setPen(QPen(palette().color(onSelection ? QPalette::HighlightedText : QPalette::Text), 1, Qt::DotLine));
    painter.drawRect(row.adjusted(0, 0, -1, -1));
}

bool ListView::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::MouseMove)
        emit mouseMoved();
    return QTreeView::viewportEvent(event);
}

bool ListView::eventFilter(QObject* watched, QEvent* event)
{
    // The column headers are part of the list for the pointer too.
    if (watched == header()->viewport() && event->type() == QEvent::MouseMove)
        emit mouseMoved();
    return QTreeView::eventFilter(watched, event);
}

int ListView::readableColumn() const
{
    int widest = 0;
    for (int column = 1; column < m_model.columnCount(); ++column) {
        if (columnWidth(column) > columnWidth(widest))
            widest = column;
    }
    return widest;
}

void ListView::selectRow(int row)
{
    selectionModel()->setCurrentIndex(m_model.index(row, readableColumn()),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ListView::keepAnItemSelected()
{
    if (m_removing || m_model.size() == 0)
        return;
    const QModelIndex current = currentIndex();
    if (!selectionModel()->hasSelection()) {
        selectRow(current.isValid() ? current.row() : 0);
    } else if (!selectionModel()->isRowSelected(current.row())) {
        // The keyboard goes on from a selected item.
        const int firstSelected = selectionModel()->selectedRows().first().row();
        selectionModel()->setCurrentIndex(m_model.index(firstSelected, readableColumn()),
                                          QItemSelectionModel::NoUpdate);
    }
}

void ListView::keepCurrentInReadableColumn()
{
    const QModelIndex current = currentIndex();
    const int column = readableColumn();
    if (current.isValid() && current.column() != column)
        selectionModel()->setCurrentIndex(m_model.index(current.row(), column), QItemSelectionModel::NoUpdate);
}

void ListView::checkPosition(qsizetype position) const
{
    if (position < 1 || position > m_model.size())
        throw Failure(QStringLiteral("There is no item at position %1; the list holds %2 items.")
                          .arg(position)
                          .arg(m_model.size()));
}
