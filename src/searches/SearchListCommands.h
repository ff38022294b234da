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
class KeptFiles;
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
    // "Open Selected": every selected query's result page in the default browser, in list order, after any still
    // being opened.
    void openSelected();
    // Puts the selected queries on the clipboard, one a line.
    void copySelected();
    // Puts the addresses of the selected queries' result pages on the clipboard, one a line, as the browser would
    // be given them.
    void copySelectedAddress();
    // "Open All": every query's result page, in list order, one after another while the window goes on answering.
    void openAll();
    // Stops the opening commands: no further page is opened.
    void stopOpening();
    // "Clear All". What it takes away is kept for bringBackCleared().
    void clearAll();
    // "Delete Selected Search From List": removes the selected queries as one step and selects the query that
    // followed the last of them; nothing on an empty list. Several taken away are kept for bringBackCleared().
    void deleteSelected();
    // "Load Example/Sample Searches": appends the sample query.
    void loadSampleSearch();
    // Takes back the last change the commands above made to the list, or makes the last one taken back again,
    // with the selection as it was; nothing when there is none.
    void undo();
    void redo();
    // The command whose change undo() would take back, or redo() make again; empty when there is none.
    QString undoName() const { return m_history.undoName(); }
    QString redoName() const { return m_history.redoName(); }

    // "Save Searches As...": writes the list to a search file the user picks.
    void saveSearchesAs();
    // "Add Searches From File...": appends the queries of a search file the user picks, as one step; a file that
    // cannot be taken is reported and leaves the list as it was.
    void addSearchesFromFile();
    // "Bring Back Cleared Searches": appends, as one step, the queries that the last Clear All or delete of
    // several took away, in this run or an earlier one.
    void bringBackCleared();
    // Whether there are cleared queries to bring back.
    bool hasClearedSearches() const;

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
    // Writes another setting beside the list, as the choice of engine is written: a list the start-up could not
    // restore whole is kept first. A Failure when the store cannot take it.
    void storeBesideTheList(const QString& key, const QString& value);
    // Re-creates the list from the settings store, as the last statements of the start-up under its trap.
    void restoreSearches(const ErrorTrap& startUp);

private:
    QStringList queriesForSelectedLocations() const;
    QStringList selectedQueries() const;
    QStringList allQueries() const;
    void appendQueries(const QStringList& queries, const QString& command);
    void removeSeveral(const QList<qsizetype>& positions);
    void keepTakenAway(const QStringList& queries, const ErrorTrap& trap, int label) const;
    KeptFiles clearedSearches() const;
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
