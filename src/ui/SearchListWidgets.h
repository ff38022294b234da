// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "searches/ListSelection.h"
#include "searches/SearchBox.h"

class ListView;
class QLineEdit;

// The window's search box as the search-list commands see it.
class LineEditSearchBox final : public SearchBox
{
public:
    explicit LineEditSearchBox(QLineEdit& box) : m_box(box) {}

    QString text() const override;
    void clear() override;
    void focus() override;

private:
    QLineEdit& m_box;
};

// A list view's selection as the search-list commands see it.
class ListViewSelection final : public ListSelection
{
public:
    explicit ListViewSelection(ListView& list) : m_list(list) {}

    qsizetype selectedPosition() const override;
    QList<qsizetype> selectedPositions() const override;
    void selectPosition(qsizetype position) override;
    void selectPositions(const QList<qsizetype>& positions) override;
    void ensureVisible(qsizetype position) override;
    void removeItem(qsizetype position) override;
    void removeItems(qsizetype position, qsizetype count) override;

private:
    ListView& m_list;
};

// The widgets the search-list commands work through, each with its list's items.
struct SearchListWidgets
{
    SearchListWidgets(QLineEdit& searchBox, ListView& locations, ListView& searches);

    ListOnScreen locations();
    ListOnScreen searches();

    LineEditSearchBox searchBox;
    ListView& locationList;
    ListView& searchList;
    ListViewSelection locationSelection;
    ListViewSelection searchSelection;
};
