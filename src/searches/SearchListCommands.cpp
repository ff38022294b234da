// SPDX-License-Identifier: GPL-3.0-or-later
#include "SearchListCommands.h"

#include "SearchFile.h"
#include "StoredSearches.h"

#include "app/ErrorTrap.h"
#include "platform/base/Clipboard.h"
#include "platform/base/Failure.h"
#include "platform/controls/ListModel.h"
#include "platform/desktop/Environment.h"
#include "platform/storage/KeptFiles.h"
#include "platform/storage/RecoveryFiles.h"
#include "platform/storage/SettingsStore.h"
#include "platform/storage/WholeFile.h"

#include <QDir>
#include <QWidget>

#include <algorithm>
#include <new>
#include <utility>

namespace {
const QString kSearchesKey = QStringLiteral("Searches");
const QString kSearchEngineKey = QStringLiteral("SearchEngine");
// What the everyday slips are told, in place of the list's own "nothing is selected".
const QString kNoLocationListed =
    QStringLiteral("No location is listed, so there is no town to search in. Change the text in Filter Locations "
                   "until the town you want is listed, then press Add Search again.");
const QString kNoSearchToOpen =
    QStringLiteral("The search list is empty, so there is no search to open. Add a search with Add Search (or press "
                   "Load Example/Sample Searches), then press Open Selected again.");
// How long after a change of the list it is saved: long enough that a burst of edits is saved once.
constexpr int kSaveDelayMs = 1000;
// Said wherever a recovery file is named.
const QString kAddingBack = QStringLiteral(" Add Searches From File\u2026 in the search list's right-click menu adds "
                                           "them back to the list.");
// The cleared queries are kept in a folder of their own beside the settings, the last few clears of them.
const QString kClearedFolder = QStringLiteral("Bazaarly cleared searches");
constexpr int kClearsKept = 5;
// The steps of the history, by the command that made them.
const QString kAddSearchStep = QStringLiteral("Add Search");
const QString kClearAllStep = QStringLiteral("Clear All");
const QString kDeleteStep = QStringLiteral("Delete");
const QString kSampleStep = QStringLiteral("Load Example/Sample Searches");
const QString kAddFromFileStep = QStringLiteral("Add Searches From File");
const QString kBringBackStep = QStringLiteral("Bring Back Cleared Searches");
} // namespace

SearchListCommands::SearchListCommands(QWidget& window, SearchBox& searchBox, ListOnScreen locations,
                                       ListOnScreen searches, const Environment& environment)
    : m_window(window), m_searchBox(searchBox), m_locations(locations), m_searches(searches),
      m_environment(environment), m_history(searches), m_opening(environment)
{
    m_saveTimer.setObjectName(QStringLiteral("saveTimer")); // the window's, so that tests find it and its delay
    m_saveTimer.setParent(&window);
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(kSaveDelayMs);
    QObject::connect(&m_saveTimer, &QTimer::timeout, &m_saveTimer, [this] { saveAfterAChange(); });
}

void SearchListCommands::addSearch()
{
    const ErrorTrap trap = trapFor(QStringLiteral("PushButton7_Click"), m_environment, &m_window);
    bool hasSearchText = true; // a failing test goes on into the conditional
    trap.run(100, [&] { hasSearchText = !m_searchBox.text().isEmpty(); });
    if (!hasSearchText)
        return;
    trap.run(102, [&] { appendQueries(queriesForSelectedLocations(), kAddSearchStep); });
    // The box keeps no typing to take back, so Ctrl+Z there takes back the add.
    trap.run(104, [&] { m_searchBox.clear(); });
    trap.run(106, [&] { m_searchBox.focus(); });
}

QStringList SearchListCommands::queriesForSelectedLocations() const
{
    if (m_locations.items.size() == 0)
        throw Failure(kNoLocationListed);
    const QString searchText = m_searchBox.text();
    QStringList queries;
    for (const qsizetype position : m_locations.selection.selectedPositions())
        queries.append(composeQuery(searchText, m_locations.items.text(position - 1)));
    return queries;
}

void SearchListCommands::appendQueries(const QStringList& queries, const QString& command)
{
    m_history.record(command, [&] { m_searches.items.insert(m_searches.items.size(), queries); });
    m_searches.selection.ensureVisible(m_searches.items.size());
}

QStringList SearchListCommands::selectedQueries() const
{
    QStringList queries;
    for (const qsizetype position : m_searches.selection.selectedPositions())
        queries.append(m_searches.items.text(position - 1));
    return queries;
}

QStringList SearchListCommands::allQueries() const
{
    QStringList queries;
    queries.reserve(m_searches.items.size());
    for (qsizetype row = 0; row < m_searches.items.size(); ++row)
        queries.append(m_searches.items.text(row));
    return queries;
}

void SearchListCommands::openSelected()
{
    const ErrorTrap trap = trapFor(QStringLiteral("PushButton2_Click"), m_environment, &m_window);
    QStringList queries;
    const bool selected = trap.run(100, [&] {
        if (m_searches.items.size() == 0)
            throw Failure(kNoSearchToOpen);
        queries = selectedQueries();
    });
    if (selected)
        m_opening.open(queries, searchEngine(), trap, 100);
}

void SearchListCommands::copySelected()
{
    if (m_searches.items.size() > 0)
        putOnClipboard(selectedQueries().join(QLatin1Char('\n')));
}

void SearchListCommands::copySelectedAddress()
{
    if (m_searches.items.size() == 0)
        return;
    QStringList addresses;
    for (const QString& query : selectedQueries())
        addresses.append(QString::fromLatin1(searchUrl(query, searchEngine()).toEncoded()));
    putOnClipboard(addresses.join(QLatin1Char('\n')));
}

void SearchListCommands::openAll()
{
    const ErrorTrap trap = trapFor(QStringLiteral("PushButton6_Click"), m_environment, &m_window);
    // The queries as they stand now: an edit while they are being opened changes nothing of this run.
    QStringList queries;
    trap.run(100, [&] { queries = allQueries(); });
    m_opening.open(queries, searchEngine(), trap, 102);
}

void SearchListCommands::stopOpening()
{
    m_opening.stop();
}

void SearchListCommands::clearAll()
{
    const ErrorTrap trap = trapFor(QStringLiteral("PushButton3_Click"), m_environment, &m_window);
    const QStringList taken = allQueries();
    trap.run(100, [&] { m_history.record(kClearAllStep, [&] { m_searches.items.clear(); }); });
    keepTakenAway(taken, trap, 100);
}

void SearchListCommands::deleteSelected()
{
    const ErrorTrap trap = trapFor(QStringLiteral("PushButton4_Click"), m_environment, &m_window);
    bool hasItems = true;
    trap.run(100, [&] { hasItems = m_searches.items.size() > 0; });
    if (!hasItems)
        return;
    QStringList taken;
    trap.run(102, [&] {
        const QList<qsizetype> positions = m_searches.selection.selectedPositions();
        if (positions.size() == 1)
            return m_history.record(kDeleteStep, [&] { m_searches.selection.removeItem(positions.first()); });
        taken = selectedQueries();
        m_history.record(kDeleteStep, [&] { removeSeveral(positions); });
    });
    keepTakenAway(taken, trap, 102);
}

void SearchListCommands::removeSeveral(const QList<qsizetype>& positions)
{
    // A run of neighbours at a time, from the last: the positions still to go stay where they were.
    for (qsizetype end = positions.size(); end > 0;) {
        qsizetype start = end - 1;
        while (start > 0 && positions[start - 1] == positions[start] - 1)
            --start;
        m_searches.selection.removeItems(positions[start], end - start);
        end = start;
    }
    const qsizetype following = positions.last() - positions.size() + 1;
    if (m_searches.items.size() > 0)
        m_searches.selection.selectPosition(std::min(following, m_searches.items.size()));
}

KeptFiles SearchListCommands::clearedSearches() const
{
    return KeptFiles(m_environment.settings().recoveryFolders(), kClearedFolder, kClearsKept);
}

// Kept after the change rather than before it: a clear that the store's folder cannot take is not refused, as
// Ctrl+Z still brings the queries back until the program closes.
void SearchListCommands::keepTakenAway(const QStringList& queries, const ErrorTrap& trap, int label) const
{
    if (queries.isEmpty())
        return;
    trap.run(label, [&] {
        try {
            clearedSearches().keep(searchFileText(queries));
        } catch (const Failure& failure) {
            throw Failure(QStringLiteral("The searches taken away could not be kept for Bring Back Cleared "
                                         "Searches; Ctrl+Z brings them back until the program closes. ") +
                          failure.description());
        }
    });
}

void SearchListCommands::bringBackCleared()
{
    trapFor(QStringLiteral("mnuBringBack_Click"), m_environment, &m_window).run(100, [&] {
        const QString newest = clearedSearches().newest();
        if (newest.isEmpty())
            throw Failure(QStringLiteral("No cleared searches are kept, so there are none to bring back."));
        appendQueries(readSearchFile(newest), kBringBackStep);
    });
}

bool SearchListCommands::hasClearedSearches() const
{
    return !clearedSearches().newest().isEmpty();
}

void SearchListCommands::saveSearchesAs()
{
    const ErrorTrap trap = trapFor(QStringLiteral("mnuSaveSearchesAs_Click"), m_environment, &m_window);
    QString path;
    trap.run(100, [&] {
        path = m_environment.chooseFileToSave(&m_window, QStringLiteral("Save Searches As"),
                                              QStringLiteral("Bazaarly searches.txt"));
    });
    if (!path.isEmpty())
        trap.run(102, [&] {
            if (!writeWholeFile(path, searchFileText(allQueries())))
                throw Failure(QStringLiteral("The searches could not be saved to \"%1\". The search list itself is "
                                             "as it was, and is kept as ever.")
                                  .arg(QDir::toNativeSeparators(path)));
        });
}

void SearchListCommands::addSearchesFromFile()
{
    const ErrorTrap trap = trapFor(QStringLiteral("mnuAddSearchesFromFile_Click"), m_environment, &m_window);
    QString path;
    trap.run(100, [&] { path = m_environment.chooseFileToOpen(&m_window, QStringLiteral("Add Searches From File")); });
    if (path.isEmpty())
        return;
    trap.run(102, [&] {
        QStringList queries;
        try {
            queries = readSearchFile(path);
        } catch (const Failure& failure) {
            throw Failure(failure.description() + QStringLiteral(" The search list is unchanged."));
        }
        if (queries.isEmpty())
            throw Failure(QStringLiteral("The file \"%1\" holds no searches.").arg(QDir::toNativeSeparators(path)));
        appendQueries(queries, kAddFromFileStep);
    });
}

void SearchListCommands::loadSampleSearch()
{
    trapFor(QStringLiteral("PushButton5_Click"), m_environment, &m_window).run(100, [&] {
        appendQueries({kSampleQuery}, kSampleStep);
    });
}

// The keys have a trap of their own; the only failure they can meet is a want of memory for the queries taken back.
void SearchListCommands::undo()
{
    trapFor(QStringLiteral("Form_KeyDown"), m_environment, &m_window).run(100, [&] { m_history.undo(); });
}

void SearchListCommands::redo()
{
    trapFor(QStringLiteral("Form_KeyDown"), m_environment, &m_window).run(102, [&] { m_history.redo(); });
}

QString SearchListCommands::storedValueFromTheList() const
{
    // Views of the list's own texts: no query is copied before the joined value.
    const ListModel& list = m_searches.items;
    QList<QStringView> queries;
    queries.reserve(list.size());
    for (qsizetype row = 0; row < list.size(); ++row)
        queries.append(list.textView(row));
    return joinStoredSearches(queries);
}

SearchEngine SearchListCommands::searchEngine()
{
    // Read when first needed rather than at start-up: a store that holds the list alone is read without decoding
    // it a second time.
    if (!m_engine) {
        m_engine = kDefaultSearchEngine;
        try {
            m_engine = searchEngineNamed(m_environment.settings().readText(kSearchEngineKey)).value_or(*m_engine);
        } catch (const Failure&) {
            // A store that cannot be read is reported by the restore; the default serves.
        } catch (const std::bad_alloc&) {
        }
    }
    return *m_engine;
}

void SearchListCommands::chooseSearchEngine(SearchEngine engine)
{
    m_engine = engine;
    trapFor(QStringLiteral("mnuSearchWith_Click"), m_environment, &m_window).run(100, [&] {
        try {
            storeBesideTheList(kSearchEngineKey, searchEngineName(engine));
        } catch (const Failure& failure) {
            throw Failure(QStringLiteral("The choice of %1 could not be saved, so searches open on it only until "
                                         "the program closes. ")
                              .arg(searchEngineName(engine)) +
                          failure.description());
        }
    });
}

void SearchListCommands::storeBesideTheList(const QString& key, const QString& value)
{
    SettingsStore& settings = m_environment.settings();
    keepTheListNotRestored(settings);
    settings.writeText(key, value);
}

// Before anything is written over a list that the start-up could not restore whole, it is copied where the user
// can find it; from then on the store holds this session's list, and the close says where the copy is. True when
// the copy was made now.
bool SearchListCommands::keepTheListNotRestored(SettingsStore& settings)
{
    if (m_restoredWhole)
        return false;
    m_keptCopy = settings.keepCopy(kSearchesKey);
    m_restoredWhole = true;
    return true;
}

// Whether this session's list may replace the stored one. Another copy of the program may have stored its list
// since this one last read or wrote it: a list left unchanged since then leaves the other's be, and a changed one
// replaces it once a copy of it is kept where the user can find it.
bool SearchListCommands::mayReplaceTheStoredList(SettingsStore& settings)
{
    std::optional<size_t> stored;
    try {
        stored = qHash(settings.readText(kSearchesKey));
    } catch (const Failure&) {
        // Not what this copy left there either.
    } catch (const std::bad_alloc&) {
    }
    if (stored == m_storedHash)
        return true;
    if (!m_changedSinceSaved)
        return false;
    m_otherListKept = settings.keepCopy(kSearchesKey);
    return true;
}

void SearchListCommands::storeTheList()
{
    if (!m_restoredWhole && !m_changedSinceRestore)
        return; // what is stored is more than the window ever showed
    SettingsStore& settings = m_environment.settings();
    if (!keepTheListNotRestored(settings) && !mayReplaceTheStoredList(settings))
        return;
    const QString value = storedValueFromTheList();
    settings.writeText(kSearchesKey, value);
    m_storedHash = qHash(value);
    m_changedSinceSaved = false;
}

QString SearchListCommands::keepInARecoveryFile() const
{
    const QByteArray contents = searchFileText(allQueries());
    const QString searches = QString::fromUtf8(contents);
    try {
        return QStringLiteral(" The searches have been written to %1 instead.")
                   .arg(RecoveryFiles(m_environment.settings().recoveryFolders()).write(contents)) +
               kAddingBack;
    } catch (const Failure& failure) {
        // Nowhere to keep them but the report itself, which Ctrl+C copies whole.
        return QLatin1Char(' ') + failure.description() +
               QStringLiteral(" Press Ctrl+C to copy this report with the searches below, and keep them somewhere "
                              "safe:\n") +
               searches.chopped(searches.isEmpty() ? 0 : 1);
    }
}

QString SearchListCommands::saveSearches()
{
    m_saveTimer.stop();
    try {
        storeTheList();
    } catch (const Failure& failure) {
        throw Failure(QStringLiteral("The search list could not be saved. ") + failure.description() +
                      keepInARecoveryFile());
    }
    QString notice;
    if (!m_keptCopy.isEmpty())
        notice += QStringLiteral(" The searches stored before could not all be restored when the program started, "
                                 "so they have been kept in %1.")
                      .arg(m_keptCopy);
    if (!m_otherListKept.isEmpty())
        notice += QStringLiteral(" Another copy of the program had stored a list of its own meanwhile; it has been "
                                 "kept in %1.")
                      .arg(m_otherListKept);
    return notice.isEmpty() ? notice : QStringLiteral("The search list has been saved.") + notice;
}

void SearchListCommands::saveAfterAChange()
{
    if (!m_changedSinceSaved)
        return;
    try {
        storeTheList();
        m_failedSaveReported = false;
    } catch (const Failure& failure) {
        // Said once, not after every change; the list stays in the window, and the close says it again.
        if (std::exchange(m_failedSaveReported, true))
            return;
        trapFor(QStringLiteral("Timer1_Timer"), m_environment, &m_window)
            .report(100, QStringLiteral("The search list could not be saved. ") + failure.description() +
                             QStringLiteral(" The program tries again after the next change and when it closes."));
    }
}

void SearchListCommands::listChanged()
{
    m_changedSinceRestore = m_changedSinceSaved = true;
    if (!m_saveTimer.isActive())
        m_saveTimer.start();
}

void SearchListCommands::watchForChanges()
{
    const auto changed = [this] { listChanged(); };
    ListModel& model = m_searches.items;
    QObject::connect(&model, &ListModel::rowsInserted, &model, changed);
    QObject::connect(&model, &ListModel::rowsRemoved, &model, changed);
    QObject::connect(&model, &ListModel::modelReset, &model, changed);
}

bool SearchListCommands::appendRestored(const StoredSearchParts& parts)
{
    ListModel::Batch batch(m_searches.items);
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

void SearchListCommands::tellOfRecoveryFiles(const ErrorTrap& startUp) const
{
    QStringList files;
    startUp.run(142, [&] { files = RecoveryFiles(m_environment.settings().recoveryFolders()).existing(); });
    if (!files.isEmpty())
        startUp.report(142, QStringLiteral("Searches that could not be saved when the program closed are in %1. This "
                                           "is said at every start until the file is moved or deleted.")
                                    .arg(files.join(QLatin1String(", "))) +
                                kAddingBack);
}

void SearchListCommands::restoreSearches(const ErrorTrap& startUp)
{
    tellOfRecoveryFiles(startUp);
    QString value;
    bool outOfMemory = false;
    m_restoredWhole = startUp.run(142, [&] {
        try {
            value = m_environment.settings().readText(kSearchesKey);
        } catch (const std::bad_alloc&) {
            outOfMemory = true; // found before anything was decoded, and said as the append's would be
        }
    });
    m_storedHash = qHash(value);
    const bool halfCharactersReplaced = !QStringView(value).isValidUtf16();
    if (halfCharactersReplaced) {
        qsizetype replaced = 0;
        value = withWholeCharacters(std::move(value), replaced);
        startUp.report(142, QStringLiteral("The stored searches held characters cut in half (unpaired UTF-16 "
                                           "surrogates: %1), which the settings file cannot hold. Each has been "
                                           "replaced with the character \uFFFD, and the list is stored so.")
                                .arg(replaced));
    }
    bool appended = true;
    if (!value.isEmpty()) { // 144
        StoredSearchParts parts;
        m_restoredWhole = startUp.run(146, [&] { parts = splitStoredSearches(value); }) && m_restoredWhole;
        value.clear();
        appended = appendRestored(parts);
        parts = {}; // gives the memory back before anything is shown
    }
    // Appending fails only for want of memory. It is reported once, after the batch has ended: a report's
    // event loop must never meet the list half-way through a rebuild.
    if (outOfMemory || !appended) {
        m_restoredWhole = false;
        startUp.report(152, kNotEnoughMemory);
    }
    watchForChanges();
    if (halfCharactersReplaced && m_restoredWhole)
        listChanged(); // stored soon, so that the next start has nothing to say
}
