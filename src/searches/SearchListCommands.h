// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ListSelection.h"
#include "OpeningQueue.h"
#include "SearchBox.h"
#include "SearchListHistory.h"
#include "SearchQuery.h"

#include <QString>
#include <QStringList>
#include <QTimer>

#include <optional>

class ErrorTrap;
class SettingsStore;
class StoredSearchParts;
class QWidget;
struct Environment;

// The commands of the search list, each a procedure of the main window under its own error trap: its labelled
// statements run one by one, and a failure in one is reported with its label before the next runs.
class SearchListCommands final
{
public:
    SearchListCommands(QWidget& window, SearchBox& searchBox, ListOnScreen locations, ListOnScreen searches,
                       const Environment& environment);

    // "Add Search": for each selected location, in the location list's order, the search text, " site:" and the
    // location's host, appended to the search list as one step and brought into view; the search box is then
    // emptied and focused. An empty search text does nothing.
    void addSearch();
    // "Open Selected": the selected query's result page in the default browser, after any still being opened.
    void openSelected();
    // Puts the selected query on the clipboard.
    void copySelected();
    // Puts the address of the selected query's result page on the clipboard, as the browser would be given it.
    void copySelectedAddress();
    // "Open All": every query's result page, in list order, one after another while the window goes on answering.
    void openAll();
    // Stops the opening commands: no further page is opened.
    void stopOpening();
    // "Clear All".
    void clearAll();
    // "Delete Selected Search From List": removes the selected query; nothing on an empty list.
    void deleteSelected();
    // "Load Example/Sample Searches": appends the sample query.
    void loadSampleSearch();
    // Takes back the last change the commands above made to the list, or makes the last one taken back again,
    // with the selection as it was; nothing when there is none.
    void undo();
    void redo();

    // The engine whose result pages the queries open on: the one last chosen, as the settings store keeps it, read
    // when first needed; the default while none has been chosen, or when the store cannot be read or names no
    // engine.
    SearchEngine searchEngine();
    // Opens the queries on `engine`'s result pages from now on, and stores the choice; a store that cannot take it
    // is reported, and the choice holds until the program ends.
    void chooseSearchEngine(SearchEngine engine);

    // Writes the whole list to the settings store, as the close does; a Failure when it could not be stored, after
    // the list has been written to a recovery file, which it names. When the restore at start-up failed or
    // stopped part-way, the stored list is left as it is unless the user changed the list; then a copy of it is
    // kept first, and the notice returned says where (the list itself has been saved). Empty when there is
    // nothing to tell.
    QString saveSearches();
    // Re-creates the list from the settings store, as the last statements of the start-up under its trap.
    void restoreSearches(const ErrorTrap& startUp);

private:
    QStringList queriesForSelectedLocations() const;
    void appendQueries(const QStringList& queries);
    void listChanged();
    void watchForChanges();
    // Appends the restored queries in one batch; false when memory ran out part-way.
    bool appendRestored(const StoredSearchParts& parts);
    QString storedValueFromTheList() const;
    bool keepTheListNotRestored(SettingsStore& settings);
    bool mayReplaceTheStoredList(SettingsStore& settings);
    void storeTheList();
    QString keepInARecoveryFile() const;
    void saveAfterAChange();
    void tellOfRecoveryFiles(const ErrorTrap& startUp) const;

    bool m_restoredWhole = true;
    bool m_changedSinceRestore = false;
    bool m_changedSinceSaved = false;
    // Where the stored list was copied before this session's list replaced it; said at the close.
    QString m_keptCopy;
    // Where another copy's list, stored since this one last read or wrote the store, was copied; said at the close.
    QString m_otherListKept;
    // What this copy last read from the store or wrote to it, to tell whether another has written since.
    size_t m_storedHash = 0;
    // A failed save after a change is reported once, until a save succeeds again.
    bool m_failedSaveReported = false;
    // Gathers the changes of a moment into one save.
    QTimer m_saveTimer;
    std::optional<SearchEngine> m_engine; // none until it has been read from the store

    QWidget& m_window;
    SearchBox& m_searchBox;
    ListOnScreen m_locations;
    ListOnScreen m_searches;
    const Environment& m_environment;
    SearchListHistory m_history;
    OpeningQueue m_opening;
};
