// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListView.h"

#include "Accessibility.h"
#include "Failure.h"
#include "FrameOverlay.h"
#include "Twips.h"

#include <QEvent>
#include <QHeaderView>
#include <QScopedValueRollback>

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
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    header()->setMinimumSectionSize(0);
    header()->viewport()->setMouseTracking(true);
    header()->viewport()->installEventFilter(this);
    new FrameOverlay(this);
    // At fractional scales an X11 screen can keep a one-pixel line of the old highlight at the edge of the row that
    // lost the selection, although Qt's own picture of the list is right; repainting the visible rows, a few dozen
    // at most, leaves none.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, viewport(), qOverload<>(&QWidget::update));

    connect(&m_model, &ListModel::rowsInserted, this, &ListView::keepAnItemSelected);
    connect(&m_model, &ListModel::modelReset, this, &ListView::keepAnItemSelected);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &ListView::keepAnItemSelected);
    connect(header(), &QHeaderView::sectionResized, this, &ListView::keepCurrentInReadableColumn);

    // The selection stays visible when the focus moves to a button that is about to use it.
    QPalette colours = palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
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

qsizetype ListView::addItem(const QString& text)
{
    m_model.append(text);
    return m_model.size();
}

void ListView::setSubItem1(qsizetype position, const QString& text)
{
    checkPosition(position);
    m_model.setSubItem1(position - 1, text);
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

void ListView::clear()
{
    m_model.clear();
}

QString ListView::selectedItemText() const
{
    return m_model.text(selectedPosition() - 1);
}

qsizetype ListView::selectedPosition() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty())
        throw Failure(QStringLiteral("No item is selected in the list."));
    return rows.first().row() + 1;
}

void ListView::focusInEvent(QFocusEvent* event)
{
    QTreeView::focusInEvent(event);
    announceCurrentItem(*this);
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
    const QModelIndexList selected = selectionModel()->selectedRows();
    if (selected.isEmpty())
        selectRow(current.isValid() ? current.row() : 0);
    else if (current.row() != selected.first().row()) // the keyboard goes on from the selected item
        selectionModel()->setCurrentIndex(m_model.index(selected.first().row(), readableColumn()),
                                          QItemSelectionModel::NoUpdate);
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
