// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class ErrorTrap;
class StoredSearchParts;
class ListView;
class QLineEdit;
class QWidget;
struct Environment;

// The commands of the search list, each a procedure of the main window under its own error trap: its labelled
// statements run one by one, and a failure in one is reported with its label before the next runs.
class SearchListCommands final
{
public:
    SearchListCommands(QWidget& window, QLineEdit& searchBox, ListView& locations, ListView& searches,
                       const Environment& environment);

    // "Add Search": the search text, " site:" and the selected location's host, appended to the search list;
    // the search box is then emptied and focused. An empty search text does nothing.
    void addSearch();
    // "Open Selected": the selected query's result page in the default browser.
    void openSelected();
    // "Open All": every query's result page, in list order.
    void openAll();
    // "Clear All".
    void clearAll();
    // "Delete Selected Search From List": removes the selected query; nothing on an empty list.
    void deleteSelected();
    // "Load Example/Sample Searches": appends the sample query.
    void loadSampleSearch();

    // Writes the whole list to the settings store; a Failure when it could not be stored. When the restore at
    // start-up failed or stopped part-way, the stored list is left as it is unless the user changed the list;
    // then a copy of it is kept first, and a Failure says where (the list itself has been saved).
    void saveSearches();
    // Re-creates the list from the settings store, as the last statements of the start-up under its trap.
    void restoreSearches(const ErrorTrap& startUp);

private:
    ErrorTrap trapFor(const char* procedure) const;
    void watchForChanges();
    // Appends the restored queries in one batch; false when memory ran out part-way.
    bool appendRestored(const StoredSearchParts& parts);
    QString storedValueFromTheList() const;

    bool m_restoredWhole = true;
    bool m_changedSinceRestore = false;

    QWidget& m_window;
    QLineEdit& m_searchBox;
    ListView& m_locations;
    ListView& m_searches;
    const Environment& m_environment;
};
