// SPDX-License-Identifier: GPL-3.0-or-later
#include "SearchListCommands.h"

#include "SearchQuery.h"
#include "StoredSearches.h"

#include "app/ErrorTrap.h"
#include "platform/Environment.h"
#include "platform/Failure.h"
#include "platform/ListView.h"
#include "platform/SettingsStore.h"

#include <QLineEdit>

#include <new>

namespace {
const QString kSearchesKey = QStringLiteral("Searches");
}

SearchListCommands::SearchListCommands(QWidget& window, QLineEdit& searchBox, ListView& locations, ListView& searches,
                                       const Environment& environment)
    : m_window(window), m_searchBox(searchBox), m_locations(locations), m_searches(searches), m_environment(environment)
{
}

ErrorTrap SearchListCommands::trapFor(const char* procedure) const
{
    return ErrorTrap(QString::fromLatin1(procedure), m_environment.showErrorReport, &m_window);
}

void SearchListCommands::addSearch()
{
    const ErrorTrap trap = trapFor("PushButton7_Click");
    bool hasSearchText = true; // a failing test goes on into the conditional
    trap.run(100, [&] { hasSearchText = !m_searchBox.text().isEmpty(); });
    if (!hasSearchText)
        return;
    trap.run(102, [&] { m_searches.addItem(composeQuery(m_searchBox.text(), m_locations.selectedItemText())); });
    trap.run(104, [&] { m_searchBox.clear(); });
    trap.run(106, [&] { m_searchBox.setFocus(); });
}

void SearchListCommands::openSelected()
{
    trapFor("PushButton2_Click").run(100, [&] { m_environment.openUrl(searchUrl(m_searches.selectedItemText())); });
}

void SearchListCommands::openAll()
{
    const ErrorTrap trap = trapFor("PushButton6_Click");
    qsizetype count = 0;
    trap.run(100, [&] { count = m_searches.count(); });
    for (qsizetype position = 1; position <= count; ++position)
        trap.run(102, [&] { m_environment.openUrl(searchUrl(m_searches.itemText(position))); });
}

void SearchListCommands::clearAll()
{
    trapFor("PushButton3_Click").run(100, [&] { m_searches.clear(); });
}

void SearchListCommands::deleteSelected()
{
    const ErrorTrap trap = trapFor("PushButton4_Click");
    bool hasItems = true;
    trap.run(100, [&] { hasItems = m_searches.count() > 0; });
    if (hasItems)
        trap.run(102, [&] { m_searches.removeItem(m_searches.selectedPosition()); });
}

void SearchListCommands::loadSampleSearch()
{
    trapFor("PushButton5_Click").run(100, [&] { m_searches.addItem(kSampleQuery); });
}

QString SearchListCommands::storedValueFromTheList() const
{
    // Views of the list's own texts: no query is copied before the joined value.
    const ListModel& list = m_searches.listModel();
    QList<QStringView> queries;
    queries.reserve(list.size());
    for (qsizetype row = 0; row < list.size(); ++row)
        queries.append(list.textView(row));
    return joinStoredSearches(queries);
}

void SearchListCommands::saveSearches()
{
    if (!m_restoredWhole && !m_changedSinceRestore)
        return; // what is stored is more than the window ever showed
    SettingsStore& settings = m_environment.settings();
    QString keptCopy;
    try {
        if (!m_restoredWhole)
            keptCopy = settings.keepCopy(kSearchesKey);
        settings.writeText(kSearchesKey, storedValueFromTheList());
    } catch (const Failure& failure) {
        throw Failure(QStringLiteral("The search list could not be saved. ") + failure.description());
    }
    if (!keptCopy.isEmpty())
        throw Failure(QStringLiteral("The search list has been saved. The searches stored before could not all be "
                                     "restored when the program started, so they have been kept in %1.")
                          .arg(keptCopy));
}

void SearchListCommands::watchForChanges()
{
    const auto changed = [this] { m_changedSinceRestore = true; };
    ListModel& model = m_searches.listModel();
    QObject::connect(&model, &ListModel::rowsInserted, &model, changed);
    QObject::connect(&model, &ListModel::rowsRemoved, &model, changed);
    QObject::connect(&model, &ListModel::modelReset, &model, changed);
}

bool SearchListCommands::appendRestored(const StoredSearchParts& parts)
{
    ListModel::Batch batch(m_searches.listModel());
    try {
        for (qsizetype i = 0; i < parts.size(); ++i) { // 148 to 154: empty parts are skipped
            if (!parts[i].isEmpty())
                batch.append(parts[i]);
        }
        batch.finish();
        return true;
    } catch (const std::bad_alloc&) {
        return false; // the parts after it would fail the same way
    }
}

void SearchListCommands::restoreSearches(const ErrorTrap& startUp)
{
    QString value;
    m_restoredWhole = startUp.run(142, [&] { value = m_environment.settings().readText(kSearchesKey); });
    if (!value.isEmpty()) { // 144
        StoredSearchParts parts;
        m_restoredWhole = startUp.run(146, [&] { parts = splitStoredSearches(value); }) && m_restoredWhole;
        value.clear();
        const bool appended = appendRestored(parts);
        parts = {}; // gives the memory back before anything is shown
        // Appending fails only for want of memory. It is reported once, after the batch has ended: a report's
        // event loop must never meet the list half-way through a rebuild.
        if (!appended) {
            m_restoredWhole = false;
            startUp.run(152, [] { throw std::bad_alloc(); });
        }
    }
    watchForChanges();
}
