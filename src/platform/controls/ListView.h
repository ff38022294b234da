// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/controls/ListModel.h"

#include <QTreeView>

// The list control of the main window: rows under column headers, one selected row at a time, whole rows, unless
// several may be selected. Like the Windows list view it stands in for, it always has a selected item while it
// holds items: the first
// item added to an empty list (or the first after a rebuild) becomes the selected, current item; when the
// selected item goes, the one that takes its place (or the new last one) is selected. The current column is
// the widest one, the column the user reads, so typing finds a row by its visible text.
// The selected row stands out from the list's background with or without the focus, a dotted rectangle shows
// which row has the focus, the last column reaches the list's right edge, and a text too long for its column loses
// its middle, keeping its start and its end.
// Positions are counted from 1, as the program's commands count them. Operations that find no item raise a
// Failure whose description says what was missing.
class ListView final : public QTreeView
{
    Q_OBJECT

public:
    explicit ListView(QWidget* parent = nullptr);

    void addColumn(const QString& header);
    void setColumnWidthTwips(int position, int twips);

    // Takes count items out from the position in one change of the list that moves no selection; the caller says
    // what is selected afterwards.
    void removeItems(qsizetype position, qsizetype count);
    qsizetype count() const { return m_model.size(); }
    QString itemText(qsizetype position) const;
    void removeItem(qsizetype position);

    // The selected item's position; a Failure when nothing is selected (an empty list has no selection).
    qsizetype selectedPosition() const;
    // Every selected item's position, in list order; a Failure when nothing is selected.
    QList<qsizetype> selectedPositions() const;
    // Selects just the item at the position and makes it the current one.
    void selectPosition(qsizetype position);
    // Selects just the items at the positions, and makes the first the current one; nothing for none.
    void selectPositions(const QList<qsizetype>& positions);
    // Scrolls the list, if need be, so that the item at the position can be seen.
    void ensureVisible(qsizetype position);
    // The position of the item at a point of the list's viewport; 0 when no item is there.
    qsizetype positionAt(const QPoint& point) const;

    // Lets the user select several items, as list views do: Ctrl and Shift with a click or the arrow keys,
    // Ctrl+Space and Ctrl+A. A plain click and typing the start of an item's text still select just one. A
    // screen reader is told how many items are selected.
    void allowSeveralSelected();

    ListModel& listModel() { return m_model; }
    const ListModel& listModel() const { return m_model; }

signals:
    void mouseMoved();

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void checkPosition(qsizetype position) const;
    int readableColumn() const;
    void selectRow(int row);
    void keepAnItemSelected();
    void keepCurrentInReadableColumn();
    void keepSelectionVisible();
    void describeSelectionForScreenReaders();

    ListModel m_model;
    bool m_removing = false;
};
