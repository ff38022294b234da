// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ListModel.h"

#include <QTreeView>

// The list control of the main window: rows under column headers, one selected row at a time, whole rows.
// Like the Windows list view it stands in for, it always has a selected item while it holds items: the first
// item added to an empty list (or the first after a rebuild) becomes the selected, current item; when the
// selected item goes, the one that takes its place (or the new last one) is selected. The current column is
// the widest one, the column the user reads, so typing finds a row by its visible text.
// Positions are counted from 1, as the program's commands count them. Operations that find no item raise a
// Failure whose description says what was missing.
class ListView final : public QTreeView
{
    Q_OBJECT

public:
    explicit ListView(QWidget* parent = nullptr);

    void addColumn(const QString& header);
    void setColumnWidthTwips(int position, int twips);

    // Appends an item and returns its position.
    qsizetype addItem(const QString& text);
    void setSubItem1(qsizetype position, const QString& text);
    qsizetype count() const { return m_model.size(); }
    QString itemText(qsizetype position) const;
    void removeItem(qsizetype position);
    void clear();

    // The selected item; a Failure when nothing is selected (an empty list has no selection).
    QString selectedItemText() const;
    qsizetype selectedPosition() const;

    ListModel& listModel() { return m_model; }
    const ListModel& listModel() const { return m_model; }

signals:
    void mouseMoved();

protected:
    void focusInEvent(QFocusEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void checkPosition(qsizetype position) const;
    int readableColumn() const;
    void selectRow(int row);
    void keepAnItemSelected();
    void keepCurrentInReadableColumn();

    ListModel m_model;
    bool m_removing = false;
};
