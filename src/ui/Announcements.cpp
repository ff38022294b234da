// SPDX-License-Identifier: GPL-3.0-or-later
#include "Announcements.h"

#include "Form1.h"

#include "platform/controls/ListView.h"
#include "platform/look/Accessibility.h"

#include <QLineEdit>
#include <QTimer>

namespace {

QString countOf(qsizetype count, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

// What became of the search list between two counts, as a sentence or two.
QString searchListChange(qsizetype before, const ListView& list, qsizetype firstAdded)
{
    const qsizetype after = list.count();
    const QString total = countOf(after, "search", "searches") + QStringLiteral(" in the list.");
    if (after == 0)
        return QStringLiteral("Search list cleared.");
    if (after == before + 1 && firstAdded >= 0)
        return QStringLiteral("Search added: %1. ").arg(list.itemText(firstAdded + 1)) + total;
    if (after > before)
        return countOf(after - before, "search", "searches") + QStringLiteral(" added. ") + total;
    if (after < before)
        return countOf(before - after, "search", "searches") + QStringLiteral(" deleted. ") + total;
    return total;
}

// Gathers the changes one command makes to the search list and says them once it is done.
class SearchListReporter final : public QObject
{
public:
    explicit SearchListReporter(ListView& list) : QObject(&list), m_list(list)
    {
        const ListModel& model = list.listModel();
        connect(&model, &ListModel::modelAboutToBeReset, this, [this] { noteChange(-1); });
        connect(&model, &ListModel::rowsAboutToBeInserted, this,
                [this](const QModelIndex&, int first, int) { noteChange(first); });
        connect(&model, &ListModel::rowsAboutToBeRemoved, this, [this] { noteChange(-1); });
    }

private:
    void noteChange(qsizetype inserted)
    {
        if (m_pending) {
            m_firstAdded = -1; // more than one change: only the counts are said
            return;
        }
        m_pending = true;
        m_before = m_list.count();
        m_firstAdded = inserted;
        QTimer::singleShot(0, this, [this] {
            m_pending = false;
            announce(*m_list.window(), searchListChange(m_before, m_list, m_firstAdded));
        });
    }

    ListView& m_list;
    bool m_pending = false;
    qsizetype m_before = 0;
    qsizetype m_firstAdded = -1;
};

// One selected item is read out as the list's current item; a count is news only for several.
void announceSeveralSelected(Form1& window, ListView& list, const char* items)
{
    QObject::connect(list.selectionModel(), &QItemSelectionModel::selectionChanged, &list, [&window, &list, items] {
        const qsizetype selected = list.selectionModel()->selectedRows().size();
        if (selected > 1)
            announce(window, QStringLiteral("%1 %2 selected").arg(selected).arg(QLatin1String(items)));
    });
}

} // namespace

void announceListChanges(Form1& window)
{
    // The filter box says the count as it gets the focus, and the count is said as the filter changes.
    const auto matches = [&window] {
        return countOf(window.ListView1->count(), "location", "locations") + QStringLiteral(" listed");
    };
    window.Text1->setAccessibleDescription(matches());
    QObject::connect(&window.ListView1->listModel(), &ListModel::modelReset, window.Text1, [&window, matches] {
        window.Text1->setAccessibleDescription(matches());
        announce(window, matches());
    });
    announceSeveralSelected(window, *window.ListView1, "locations");
    announceSeveralSelected(window, *window.ListView2, "searches");
    new SearchListReporter(*window.ListView2);
}
