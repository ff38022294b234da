// SPDX-License-Identifier: GPL-3.0-or-later
#include "SearchListWidgets.h"

#include "platform/controls/ListView.h"

#include <QLineEdit>

QString LineEditSearchBox::text() const
{
    return m_box.text();
}

void LineEditSearchBox::clear()
{
    // Set rather than cleared: QLineEdit::clear() would leave the old text for Ctrl+Z to bring back.
    m_box.setText(QString());
}

void LineEditSearchBox::focus()
{
    m_box.setFocus();
}

qsizetype ListViewSelection::selectedPosition() const
{
    return m_list.selectedPosition();
}

QList<qsizetype> ListViewSelection::selectedPositions() const
{
    return m_list.selectedPositions();
}

void ListViewSelection::selectPosition(qsizetype position)
{
    m_list.selectPosition(position);
}

void ListViewSelection::ensureVisible(qsizetype position)
{
    m_list.ensureVisible(position);
}

void ListViewSelection::selectPositions(const QList<qsizetype>& positions)
{
    m_list.selectPositions(positions);
}

void ListViewSelection::removeItem(qsizetype position)
{
    m_list.removeItem(position);
}

void ListViewSelection::removeItems(qsizetype position, qsizetype count)
{
    m_list.removeItems(position, count);
}

SearchListWidgets::SearchListWidgets(QLineEdit& searchBox, ListView& locations, ListView& searches)
    : searchBox(searchBox), locationList(locations), searchList(searches), locationSelection(locations),
      searchSelection(searches)
{
}

ListOnScreen SearchListWidgets::locations()
{
    return {locationList.listModel(), locationSelection};
}

ListOnScreen SearchListWidgets::searches()
{
    return {searchList.listModel(), searchSelection};
}
