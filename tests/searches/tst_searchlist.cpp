// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestEnvironment.h"

#include "platform/base/Failure.h"
#include "platform/controls/ListView.h"
#include "platform/controls/PushButton.h"
#include "platform/desktop/UrlOpener.h"
#include "searches/SearchFile.h"
#include "searches/SearchQuery.h"
#include "ui/Form1.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>

using Action = std::function<void()>;
Q_DECLARE_METATYPE(Action)
Q_DECLARE_METATYPE(SearchEngine)

static QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The address a query opens on while no other engine has been chosen.
static QUrl resultPage(const QString& query)
{
    return searchUrl(query, kDefaultSearchEngine);
}

// The search list as the user works it: through the real window, with a recorder in place of the browser and a
// temporary settings file.
class tst_SearchList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void addSearchAppendsTheQueryAndReadiesTheBox();
    void addSearchWithAnEmptyBoxDoesNothing();
    void addSearchUsesTheFirstLocationUntilAnotherIsPicked();
    void addSearchWithoutALocationReportsAndStillClearsTheBox();
    void addSearchCoversEverySelectedLocation_data();
    void addSearchCoversEverySelectedLocation();
    void addedQueryIsScrolledIntoView();
    void undoAndRedoWalkThroughTheChanges_data();
    void undoAndRedoWalkThroughTheChanges();
    void searchListMenuWorksOnTheQueryUnderThePointer_data();
    void searchListMenuWorksOnTheQueryUnderThePointer();
    void doubleClickOpensASearchButNoLocation();
    void searchEngineChoiceSurvivesARestart_data();
    void searchEngineChoiceSurvivesARestart();
    void foreignStoredEngineGivesTheDefault_data();
    void foreignStoredEngineGivesTheDefault();
    void engineChoiceTheStoreRefusesHoldsForTheSession();
    void openSelectedOpensTheSelectedQuery();
    void openSelectedOnAnEmptyListReports();
    void openAllOpensEveryQueryInOrder();
    void openAllReportsEachFailingItemAndGoesOn();
    void failureEveryAddressWouldMeetIsReportedOnce();
    void openAllKeepsTheWindowAnsweringAndACloseStopsIt();
    void openerReceivesTheAddressesInListOrder();
    void hostileQueriesReachTheBrowserIntact_data();
    void hostileQueriesReachTheBrowserIntact();
    void clearAllEmptiesTheList();
    void deleteSelectedRemovesOnlyThatQuery();
    void deleteSelectedOnAnEmptyListDoesNothing();
    void deleteSelectedAgainAndAgainEmptiesTheList();
    void loadSamplesAppendsOneSampleEachTime();
    void listSurvivesAClose_data();
    void listSurvivesAClose();
    void handWrittenValuesRestore_data();
    void handWrittenValuesRestore();
    void longListIsSavedRestoredAndOpenedWhole();
    void failedSaveIsReportedAndTheCloseGoesOn_data();
    void startUpTellsOfEachRecoveryFile_data();
    void startUpTellsOfEachRecoveryFile();
    void failedSaveIsReportedAndTheCloseGoesOn();
    void searchesNoFolderCanTakeAreInTheReport();
    void listIsStoredShortlyAfterAChange();
    void listAnotherCopyStoredIsNeverLost_data();
    void listAnotherCopyStoredIsNeverLost();
    void failedSaveAfterAChangeIsReportedOnce();
    void unreadableStoreIsReportedAtStartUp();
    void restoreWithoutTheMemoryToDecodeReportsOnce();
    void hostileStoredValues_data();
    void hostileStoredValues();
    void handEditedListWithCommasRestoresTheText();
    void halfCharacterInTheStoreIsReplacedAndSaidOnce();
    void failedRestoreNeverCostsTheStoredList_data();
    void failedRestoreNeverCostsTheStoredList();
    void severalSelectedSearches_data();
    void severalSelectedSearches();
    void searchFilesAreSavedAndAddedBack_data();
    void searchFilesAreSavedAndAddedBack();
    void clearedSearchesComeBackAfterARestart();
    void townGroups_data();
    void townGroups();

private:
    void start();
    void restart();
    QTimer* saveSoonAfterAChange();
    void addSearch(const QString& text);
    void select(ListView* list, int position);
    void click(ListView* list, int position, Qt::KeyboardModifiers modifiers = {});
    void keys(QKeySequence sequence);
    void chooseEngine(const QString& name);
    QString chosenEngine() const;
    QStringList searches() const;
    void rightClick(ListView* list, int position);
    void choose(QMenu* menu, const QString& entry);
    void chooseFromLocationMenu(const QString& entry, const QString& group = QString());
    QList<qsizetype> selected(ListView* list) const;

    std::unique_ptr<TestEnvironment> m_test;
    std::unique_ptr<Form1> m_window;
    ListView* m_pickFrom = nullptr;
};

void tst_SearchList::init()
{
    m_test = std::make_unique<TestEnvironment>();
    m_test->writeLocations({"http://albany.bazaarly.org/,Albany,New York", "http://boston.bazaarly.org/,Boston,"});
    start();
}

void tst_SearchList::cleanup()
{
    m_window.reset();
    m_test.reset();
}

void tst_SearchList::start()
{
    m_window = std::make_unique<Form1>(m_test->environment());
    m_window->showCentred();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void tst_SearchList::restart()
{
    m_window->close();
    start();
}

// The window's save that follows a change, made to come within a twentieth of a second rather than a second.
QTimer* tst_SearchList::saveSoonAfterAChange()
{
    auto* saveTimer = m_window->findChild<QTimer*>(QStringLiteral("saveTimer"));
    if (saveTimer)
        saveTimer->setInterval(50);
    return saveTimer;
}

void tst_SearchList::select(ListView* list, int position)
{
    click(list, position);
    QCOMPARE(list->selectedPosition(), position);
}

void tst_SearchList::click(ListView* list, int position, Qt::KeyboardModifiers modifiers)
{
    const QRect row = list->visualRect(list->listModel().index(position - 1, list->listModel().columnCount() - 1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, row.center());
}

// Presses the keys where the keyboard focus is, as the user would.
void tst_SearchList::keys(QKeySequence sequence)
{
    QTest::keySequence(QApplication::focusWidget(), sequence);
}

void tst_SearchList::addSearch(const QString& text)
{
    QTest::keyClicks(m_window->txtSearch, text);
    QTest::mouseClick(m_window->PushButton7, Qt::LeftButton);
}

// Picks an engine from the search list's menu, as a click on it would.
void tst_SearchList::chooseEngine(const QString& name)
{
    for (QAction* choice : m_window->mnuSearchWith->actions()) {
        if (choice->text() == name)
            return choice->trigger();
    }
    QFAIL("no such engine in the menu");
}

// The engine the menu shows as chosen when it opens.
QString tst_SearchList::chosenEngine() const
{
    emit m_window->mnuSearchWith->aboutToShow();
    QStringList checked;
    for (QAction* choice : m_window->mnuSearchWith->actions()) {
        if (choice->isChecked())
            checked.append(choice->text());
    }
    return checked.join(QLatin1Char(','));
}

QStringList tst_SearchList::searches() const
{
    QStringList texts;
    for (qsizetype position = 1; position <= m_window->ListView2->count(); ++position)
        texts.append(m_window->ListView2->itemText(position));
    return texts;
}

void tst_SearchList::addSearchAppendsTheQueryAndReadiesTheBox()
{
    select(m_window->ListView1, 1);
    addSearch(QStringLiteral("lawnmower"));
    addSearch(QStringLiteral("  two blanks "));
    QCOMPARE(searches(), QStringList({"lawnmower site:albany.bazaarly.org", "  two blanks  site:albany.bazaarly.org"}));
    QCOMPARE(m_window->txtSearch->text(), QString());
    QVERIFY(m_window->txtSearch->hasFocus());
    QCOMPARE(m_window->ListView1->selectedPosition(), 1); // the location stays selected for the next search
    QCOMPARE(m_test->reports, QStringList());
}

void tst_SearchList::addSearchWithAnEmptyBoxDoesNothing()
{
    select(m_window->ListView1, 2);
    QTest::mouseClick(m_window->PushButton7, Qt::LeftButton);
    QCOMPARE(searches(), QStringList());
    QCOMPARE(m_test->reports, QStringList());
}

void tst_SearchList::addSearchUsesTheFirstLocationUntilAnotherIsPicked()
{
    addSearch(QStringLiteral("desk"));
    QTest::keyClicks(m_window->Text1, QStringLiteral("bos"));
    addSearch(QStringLiteral("lamp"));
    QCOMPARE(searches(), QStringList({"desk site:albany.bazaarly.org", "lamp site:boston.bazaarly.org"}));
    QCOMPARE(m_test->reports, QStringList());
}

void tst_SearchList::addSearchWithoutALocationReportsAndStillClearsTheBox()
{
    QTest::keyClicks(m_window->Text1, QStringLiteral("nowhere"));
    addSearch(QStringLiteral("chair"));
    QCOMPARE(searches(), QStringList());
    QCOMPARE(m_test->reports.size(), 1);
    QVERIFY(isReportFor(m_test->reports[0], QStringLiteral("PushButton7_Click"), 102));
    QVERIFY(m_test->reports[0].startsWith(QStringLiteral("No location is listed")));
    QVERIFY(m_test->reports[0].section(QLatin1Char('\r'), 0, 0).contains(QStringLiteral("Filter Locations")));
    QCOMPARE(m_window->txtSearch->text(), QString());
    QVERIFY(m_window->txtSearch->hasFocus());
}

void tst_SearchList::addSearchCoversEverySelectedLocation_data()
{
    QTest::addColumn<Action>("pick");
    QTest::addColumn<QStringList>("towns"); // the towns of the queries, in the order they were added
    QTest::newRow("a plain click takes one town") << Action([this] {
        click(m_pickFrom, 2, Qt::ControlModifier);
        click(m_pickFrom, 3);
    }) << QStringList{"c"};
    QTest::newRow("Ctrl+click adds a town, and the queries follow the list's order") << Action([this] {
        click(m_pickFrom, 3);
        click(m_pickFrom, 1, Qt::ControlModifier);
    }) << QStringList{"a", "c"};
    QTest::newRow("Shift+click takes the towns between") << Action([this] {
        click(m_pickFrom, 2);
        click(m_pickFrom, 4, Qt::ShiftModifier);
    }) << QStringList{"b", "c", "d"};
    QTest::newRow("Shift with the arrow keys takes the towns passed") << Action([this] {
        click(m_pickFrom, 1);
        QTest::keyClick(m_pickFrom, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(m_pickFrom, Qt::Key_Down, Qt::ShiftModifier);
    }) << QStringList{"a", "b", "c"};
    QTest::newRow("Ctrl+Space adds the town the keyboard moved to") << Action([this] {
        click(m_pickFrom, 1);
        QTest::keyClick(m_pickFrom, Qt::Key_Down, Qt::ControlModifier);
        QTest::keyClick(m_pickFrom, Qt::Key_Down, Qt::ControlModifier);
        QTest::keyClick(m_pickFrom, Qt::Key_Space, Qt::ControlModifier);
    }) << QStringList{"a", "c"};
    QTest::newRow("Ctrl+A takes every town") << Action([this] {
        click(m_pickFrom, 1);
        QTest::keySequence(m_pickFrom, QKeySequence::SelectAll);
    }) << QStringList{"a", "b", "c", "d"};
    QTest::newRow("typing a name takes that one town") << Action([this] {
        click(m_pickFrom, 1);
        QTest::keySequence(m_pickFrom, QKeySequence::SelectAll);
        // A capital, through the window as the system delivers keys, so the view knows Shift is held.
        QTest::keyClick(m_pickFrom->window()->windowHandle(), Qt::Key_C, Qt::ShiftModifier);
    }) << QStringList{"c"};
    QTest::newRow("Ctrl+click on the only town selected keeps it") << Action([this] {
        click(m_pickFrom, 2);
        click(m_pickFrom, 2, Qt::ControlModifier);
    }) << QStringList{"b"};
}

void tst_SearchList::addSearchCoversEverySelectedLocation()
{
    QFETCH(Action, pick);
    QFETCH(QStringList, towns);
    m_test->writeLocations({"http://a.x/,A,", "http://b.x/,B,", "http://c.x/,C,", "http://d.x/,D,"});
    restart();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_pickFrom = m_window->ListView1;
    pick();
    QCOMPARE(m_window->ListView1->accessibleDescription(), QStringLiteral("%1 of 4 selected").arg(towns.size()));
    QTest::keyClicks(m_window->txtSearch, QStringLiteral("desk"));
    QSignalSpy edits(m_window->txtSearch, &QLineEdit::textChanged);
    QVERIFY(edits.isValid());
    QTest::mouseClick(m_window->PushButton7, Qt::LeftButton);
    QStringList expected;
    for (const QString& town : std::as_const(towns))
        expected.append(QStringLiteral("desk site:%1.x").arg(town));
    QCOMPARE(searches(), expected);
    QCOMPARE(edits.count(), 1); // emptied once, after the last
    QCOMPARE(m_window->txtSearch->text(), QString());
    QVERIFY(m_window->txtSearch->hasFocus());
    QCOMPARE(m_test->reports, QStringList());
    keys(QKeySequence::Undo); // one step, however many queries
    QCOMPARE(searches(), QStringList());
}

void tst_SearchList::addedQueryIsScrolledIntoView()
{
    for (int i = 1; i <= 30; ++i)
        addSearch(QString::number(i));
    ListView* list = m_window->ListView2;
    QVERIFY(list->viewport()->rect().contains(list->visualRect(list->listModel().index(29, 0))));
    QCOMPARE(list->selectedPosition(), 1); // seen, not selected
    list->scrollToTop();
    QTest::mouseClick(m_window->PushButton5, Qt::LeftButton);
    QVERIFY(list->viewport()->rect().contains(list->visualRect(list->listModel().index(30, 0))));
}

void tst_SearchList::undoAndRedoWalkThroughTheChanges_data()
{
    QTest::addColumn<Action>("steps");
    QTest::addColumn<QStringList>("texts"); // of the queries left, each for Albany
    QTest::addColumn<int>("selected");
    const auto add = [this](std::initializer_list<const char*> texts) {
        for (const char* text : texts)
            addSearch(QString::fromLatin1(text));
    };
    const auto press = [](QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); };
    QTest::newRow("Ctrl+Z right after Add Search takes the add back") << Action([=] {
        add({"a", "b"});
        keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
    }) << QStringList{"a"} << 1;
    QTest::newRow("a deleted query comes back in its place, selected") << Action([=] {
        add({"a", "b", "c"});
        select(m_window->ListView2, 2);
        press(m_window->PushButton4);
        keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
    }) << QStringList{"a", "b", "c"} << 2;
    QTest::newRow("Clear All is taken back whole, with its selection") << Action([=] {
        add({"a", "b", "c"});
        select(m_window->ListView2, 3);
        press(m_window->PushButton3);
        keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
    }) << QStringList{"a", "b", "c"} << 3;
    QTest::newRow("Load Samples is taken back") << Action([=] {
        add({"a"});
        press(m_window->PushButton5);
        keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
    }) << QStringList{"a"} << 1;
    QTest::newRow("Ctrl+Y and Ctrl+Shift+Z redo step by step") << Action([=] {
        add({"a", "b", "c"});
        select(m_window->ListView2, 2);
        press(m_window->PushButton4);
        press(m_window->PushButton3);
        for (int i = 0; i < 5; ++i)
            keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
        keys(QKeySequence(Qt::CTRL | Qt::Key_Y));
        keys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
        keys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    }) << QStringList{"a", "b", "c"} << 1;
    QTest::newRow("as far back as the session goes, and no further") << Action([=] {
        add({"a", "b"});
        for (int i = 0; i < 4; ++i)
            keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
        keys(QKeySequence(Qt::CTRL | Qt::Key_Y));
    }) << QStringList{"a"} << 1;
    QTest::newRow("a new change forgets the changes taken back") << Action([=] {
        add({"a", "b"});
        keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
        add({"c"});
        keys(QKeySequence(Qt::CTRL | Qt::Key_Y));
    }) << QStringList{"a", "c"} << 1;
    QTest::newRow("the lists' menus take back and make again, naming the step") << Action([=] {
        add({"a", "b", "c"});
        press(m_window->PushButton3);
        rightClick(m_window->ListView2, 0);
        choose(m_window->mnuSearch, QStringLiteral("Undo Clear All"));
        chooseFromLocationMenu(QStringLiteral("Redo Clear All"));
        chooseFromLocationMenu(QStringLiteral("Undo Clear All"));
    }) << QStringList{"a", "b", "c"} << 1;
    QTest::newRow("typing in a box is taken back before the list") << Action([=] {
        add({"a"});
        QTest::keyClicks(m_window->txtSearch, QStringLiteral("b"));
        keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(m_window->txtSearch->text(), QString());
    }) << QStringList{"a"} << 1;
}

void tst_SearchList::undoAndRedoWalkThroughTheChanges()
{
    QFETCH(Action, steps);
    QFETCH(QStringList, texts);
    QFETCH(int, selected);
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    steps();
    QStringList expected;
    for (const QString& text : std::as_const(texts))
        expected.append(text + QStringLiteral(" site:albany.bazaarly.org"));
    QCOMPARE(searches(), expected);
    QCOMPARE(m_window->ListView2->selectedPosition(), selected);
    QCOMPARE(m_test->reports, QStringList());
    m_window->close(); // what the window shows is what is kept
    QCOMPARE(m_test->storedValue(), expected.join(QLatin1Char('|')) + QLatin1Char('|'));
}

void tst_SearchList::searchListMenuWorksOnTheQueryUnderThePointer_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<QList<QUrl>>("opened");
    QTest::addColumn<QString>("copied");
    const QStringList all = {"a site:albany.bazaarly.org", "b site:albany.bazaarly.org"};
    QTest::newRow("Open opens it") << "Open" << all << QList<QUrl>{resultPage(all[1])} << "";
    QTest::newRow("Copy puts it on the clipboard") << "Copy" << all << QList<QUrl>{} << all[1];
    QTest::newRow("Copy Address puts its result page on the clipboard")
        << "Copy Address" << all << QList<QUrl>{} << "https://www.google.com/search?q=b%20site:albany.bazaarly.org";
    QTest::newRow("Delete removes it") << "Delete" << QStringList{all[0]} << QList<QUrl>{} << "";
}

void tst_SearchList::searchListMenuWorksOnTheQueryUnderThePointer()
{
    QFETCH(QString, command);
    QFETCH(QStringList, left);
    QFETCH(QList<QUrl>, opened);
    QFETCH(QString, copied);
    QGuiApplication::clipboard()->clear();
    addSearch(QStringLiteral("a"));
    addSearch(QStringLiteral("b"));
    ListView* list = m_window->ListView2;
    const QPoint overSecond = list->visualRect(list->listModel().index(1, 0)).center();
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, overSecond, list->viewport()->mapToGlobal(overSecond));
    QApplication::sendEvent(list->viewport(), &rightClick);
    QCOMPARE(list->selectedPosition(), 2);
    auto* menu = m_window->findChild<QMenu*>(QStringLiteral("mnuSearch"));
    QVERIFY(menu);
    QTRY_VERIFY(menu->isVisible());
    QStringList labels;
    for (QAction* action : menu->actions())
        labels.append(action->text());
    QCOMPARE(labels, QStringList({"Open", "Copy", "Copy Address", "Delete", "", "Undo Add Search\tCtrl+Z",
                                  "Redo\tCtrl+Y", "", "Save Searches As\u2026", "Add Searches From File\u2026",
                                  "Bring Back Cleared Searches", "", "Search With"}));
    menu->actions().at(labels.indexOf(command))->trigger();
    menu->hide();
    QCOMPARE(searches(), left);
    QTRY_COMPARE(m_test->openedUrls, opened); // pages are handed over from the event loop
    QCOMPARE(QGuiApplication::clipboard()->text(), copied);
    QCOMPARE(m_test->reports, QStringList());
}

void tst_SearchList::doubleClickOpensASearchButNoLocation()
{
    addSearch(QStringLiteral("a"));
    addSearch(QStringLiteral("b"));
    const auto doubleClick = [this](ListView* list, int position) {
        // As the window system gives it: a click, then the second press, which arrives as the double-click.
        click(list, position);
        const QRect row = list->visualRect(list->listModel().index(position - 1, list->listModel().columnCount() - 1));
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
    };
    doubleClick(m_window->ListView1, 2);
    doubleClick(m_window->ListView2, 2);
    QCOMPARE(m_window->ListView2->selectedPosition(), 2);
    select(m_window->ListView2, 1);
    QTest::mouseClick(m_window->PushButton2, Qt::LeftButton);
    // In the queue's order: the double-click's one page, then the button's.
    QTRY_COMPARE(m_test->openedUrls, (QList<QUrl>{resultPage(QStringLiteral("b site:albany.bazaarly.org")),
                                                  resultPage(QStringLiteral("a site:albany.bazaarly.org"))}));
    QCOMPARE(m_test->reports, QStringList());
}

void tst_SearchList::searchEngineChoiceSurvivesARestart_data()
{
    QTest::addColumn<QStringList>("chosen");
    QTest::addColumn<SearchEngine>("engine");
    QTest::newRow("none chosen: Google") << QStringList{} << SearchEngine::Google;
    QTest::newRow("Bing") << QStringList{"Bing"} << SearchEngine::Bing;
    QTest::newRow("DuckDuckGo") << QStringList{"DuckDuckGo"} << SearchEngine::DuckDuckGo;
    QTest::newRow("back to Google") << QStringList{"Bing", "Google"} << SearchEngine::Google;
}

void tst_SearchList::searchEngineChoiceSurvivesARestart()
{
    QFETCH(QStringList, chosen);
    QFETCH(SearchEngine, engine);
    QCOMPARE(chosenEngine(), QStringLiteral("Google"));
    addSearch(QStringLiteral("desk"));
    for (const QString& name : std::as_const(chosen))
        chooseEngine(name);
    addSearch(QStringLiteral("lamp")); // saved a moment later, beside the engine
    QTRY_COMPARE(m_window->ListView2->count(), 2);
    restart();
    QCOMPARE(searches(), QStringList({"desk site:albany.bazaarly.org", "lamp site:albany.bazaarly.org"}));
    QCOMPARE(chosenEngine(), searchEngineName(engine));
    QTest::mouseClick(m_window->PushButton6, Qt::LeftButton);
    QTRY_COMPARE(m_test->openedUrls, (QList<QUrl>{searchUrl(QStringLiteral("desk site:albany.bazaarly.org"), engine),
                                                  searchUrl(QStringLiteral("lamp site:albany.bazaarly.org"), engine)}));
    QCOMPARE(m_test->reports, QStringList());
}

void tst_SearchList::foreignStoredEngineGivesTheDefault_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("a number") << QByteArray("SearchEngine=1");
    QTest::newRow("a list") << QByteArray("SearchEngine=Bing, DuckDuckGo");
    QTest::newRow("an engine not offered") << QByteArray("SearchEngine=Yahoo");
    QTest::newRow("a name in other capitals") << QByteArray("SearchEngine=bing");
    QTest::newRow("a value that is not text") << QByteArray("SearchEngine=@Rect(1 2 3 4)");
    QTest::newRow("an empty value") << QByteArray("SearchEngine=");
}

void tst_SearchList::foreignStoredEngineGivesTheDefault()
{
    QFETCH(QByteArray, line);
    m_window.reset();
    const QByteArray contents = "[General]\nSearches=desk site:x|\n" + line + '\n';
    m_test->writeSettingsFile(contents);
    start();
    QCOMPARE(searches(), QStringList{"desk site:x"});
    QCOMPARE(chosenEngine(), QStringLiteral("Google"));
    QTest::mouseClick(m_window->PushButton2, Qt::LeftButton);
    QTRY_COMPARE(m_test->openedUrls, QList<QUrl>{resultPage(QStringLiteral("desk site:x"))});
    m_window->close();
    QCOMPARE(contentsOf(m_test->settingsPath()), contents); // nothing the user did not change is rewritten
    QCOMPARE(m_test->reports, QStringList());
}

void tst_SearchList::engineChoiceTheStoreRefusesHoldsForTheSession()
{
    addSearch(QStringLiteral("desk"));
    QVERIFY(QDir().mkpath(m_test->settingsPath())); // a folder where the settings file belongs
    chooseEngine(QStringLiteral("Bing"));
    QCOMPARE(m_test->reports.size(), 1);
    QVERIFY(isReportFor(m_test->reports[0], QStringLiteral("mnuSearchWith_Click"), 100));
    QVERIFY2(m_test->reports[0].startsWith(QStringLiteral("The choice of Bing could not be saved, so searches open on "
                                                          "it only until the program closes.")),
             qPrintable(m_test->reports[0]));
    QCOMPARE(chosenEngine(), QStringLiteral("Bing"));
    QTest::mouseClick(m_window->PushButton2, Qt::LeftButton);
    QTRY_COMPARE(m_test->openedUrls,
                 QList<QUrl>{searchUrl(QStringLiteral("desk site:albany.bazaarly.org"), SearchEngine::Bing)});
}

void tst_SearchList::openSelectedOpensTheSelectedQuery()
{
    QTest::mouseClick(m_window->PushButton5, Qt::LeftButton);
    select(m_window->ListView1, 2);
    addSearch(QStringLiteral("chair"));
    select(m_window->ListView2, 2);
    QTest::mouseClick(m_window->PushButton2, Qt::LeftButton);
    QTRY_COMPARE(m_test->openedUrls, QList<QUrl>{resultPage(QStringLiteral("chair site:boston.bazaarly.org"))});
    QCOMPARE(m_test->openedUrls[0].toString(QUrl::FullyEncoded),
             QStringLiteral("https://www.google.com/search?q=chair%20site:boston.bazaarly.org"));
    QCOMPARE(m_window->ListView2->selectedPosition(), 2);
}

void tst_SearchList::openSelectedOnAnEmptyListReports()
{
    QTest::mouseClick(m_window->PushButton2, Qt::LeftButton);
    QCOMPARE(m_test->openedUrls, QList<QUrl>());
    QCOMPARE(m_test->reports.size(), 1);
    QVERIFY(isReportFor(m_test->reports[0], QStringLiteral("PushButton2_Click"), 100));
    QVERIFY(m_test->reports[0].startsWith(QStringLiteral("The search list is empty, so there is no search to open.")));
}

void tst_SearchList::openAllOpensEveryQueryInOrder()
{
    QTest::mouseClick(m_window->PushButton6, Qt::LeftButton);
    QCOMPARE(m_test->openedUrls, QList<QUrl>());
    select(m_window->ListView1, 2);
    for (const char* text : {"one", "two", "three"})
        addSearch(QString::fromLatin1(text));
    QTest::mouseClick(m_window->PushButton6, Qt::LeftButton);
    QTRY_COMPARE(m_test->openedUrls, (QList<QUrl>{resultPage(QStringLiteral("one site:boston.bazaarly.org")),
                                                  resultPage(QStringLiteral("two site:boston.bazaarly.org")),
                                                  resultPage(QStringLiteral("three site:boston.bazaarly.org"))}));
    QCOMPARE(m_test->reports, QStringList());
}

void tst_SearchList::openAllReportsEachFailingItemAndGoesOn()
{
    // A desktop whose handler refuses some addresses, and only those.
    m_window.reset();
    Environment environment = m_test->environment();
    environment.openUrl = [this](const QUrl& address, QObject&, const OpeningDone& done) {
        if (address.toString().contains(QLatin1String("broken")))
            return done(OpeningFailure{QStringLiteral("The address could not be opened."), false});
        m_test->openedUrls.append(address);
        done(std::nullopt);
    };
    m_test->storeValue(QStringLiteral("one site:x|broken site:x|two site:x|broken too site:x|three site:x|"));
    m_window = std::make_unique<Form1>(environment);
    QTest::mouseClick(m_window->PushButton6, Qt::LeftButton);
    QTRY_COMPARE(m_test->openedUrls,
                 (QList<QUrl>{resultPage(QStringLiteral("one site:x")), resultPage(QStringLiteral("two site:x")),
                              resultPage(QStringLiteral("three site:x"))}));
    QCOMPARE(m_test->reports.size(), 2);
    for (const QString& report : std::as_const(m_test->reports))
        QVERIFY(isReportFor(report, QStringLiteral("PushButton6_Click"), 102));
}

void tst_SearchList::failureEveryAddressWouldMeetIsReportedOnce()
{
    // A desktop with no opener at all.
    m_window.reset();
    Environment environment = m_test->environment();
    environment.openUrl = [this](const QUrl& address, QObject&, const OpeningDone& done) {
        m_test->openedUrls.append(address);
        done(OpeningFailure{QStringLiteral("The address %1 could not be opened: no opener.").arg(address.toString()),
                            true});
    };
    m_test->storeValue(QStringLiteral("one site:x|two site:x|three site:x|"));
    m_window = std::make_unique<Form1>(environment);
    QTest::mouseClick(m_window->PushButton6, Qt::LeftButton);
    QTRY_COMPARE(m_test->reports.size(), 1);
    QTest::qWait(50);
    QCOMPARE(m_test->openedUrls, QList<QUrl>{resultPage(QStringLiteral("one site:x"))});
    QCOMPARE(m_test->reports.size(), 1);
    QVERIFY(isReportFor(m_test->reports[0], QStringLiteral("PushButton6_Click"), 102));
    QVERIFY(m_test->reports[0].contains(
        QStringLiteral("?q=one site:x could not be opened: no opener. The 2 searches after it were not opened.")));
}

void tst_SearchList::openAllKeepsTheWindowAnsweringAndACloseStopsIt()
{
    constexpr int kCount = 5000;
    QString stored;
    for (int i = 1; i <= kCount; ++i)
        stored += QStringLiteral("item %1 site:x.org|").arg(i);
    m_window.reset();
    m_test->storeValue(stored);
    start();
    QTest::mouseClick(m_window->PushButton6, Qt::LeftButton);
    QVERIFY(m_test->openedUrls.size() < 2); // the click has returned before the opening
    // The window answers between two addresses: a search added now comes in while the opening goes on.
    QTRY_VERIFY(m_test->openedUrls.size() >= 10);
    addSearch(QStringLiteral("added meanwhile"));
    QCOMPARE(m_window->ListView2->count(), kCount + 1);
    QVERIFY(m_test->openedUrls.size() < kCount);
    m_window->close();
    const qsizetype openedBeforeTheClose = m_test->openedUrls.size();
    QTest::qWait(100);
    QCOMPARE(m_test->openedUrls.size(), openedBeforeTheClose);
    QCOMPARE(m_test->openedUrls.last(), resultPage(QStringLiteral("item %1 site:x.org").arg(openedBeforeTheClose)));
    QCOMPARE(m_test->storedValue(), stored + QStringLiteral("added meanwhile site:albany.bazaarly.org|"));
    QCOMPARE(m_test->reports, QStringList());
}

void tst_SearchList::openerReceivesTheAddressesInListOrder()
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    QSKIP("the shell opens addresses here, not an opener program");
#endif
    // The real opener, through a stand-in xdg-open, in a folder whose name holds a blank, that writes down what
    // it is given after a wait of its own: openers started together would finish in another order.
    const QString folder = m_test->dataFilePath(QStringLiteral("my browser"));
    QVERIFY(QDir().mkpath(folder));
    const QString opened = folder + QStringLiteral("/opened.txt");
    m_test->writeDataFile(QStringLiteral("my browser/xdg-open"),
                          "#!/bin/sh\nsleep 0.0$(( $$ % 5 ))\nprintf '%s\\n' \"$1\" >>\"" + QFile::encodeName(opened) +
                              "\"\n");
    QFile::setPermissions(folder + QStringLiteral("/xdg-open"), QFile::ReadOwner | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(folder) + ":" + path);
    m_window.reset();
    Environment environment = m_test->environment();
    environment.openUrl = openWithDesktop;
    m_test->storeValue(QStringLiteral("one site:x|two site:x|three site:x|four site:x|five site:x|six site:x|"));
    m_window = std::make_unique<Form1>(environment);
    QTest::mouseClick(m_window->PushButton6, Qt::LeftButton);
    QByteArray expected;
    for (const char* query : {"one", "two", "three", "four", "five", "six"})
        expected += resultPage(QString::fromLatin1(query) + QStringLiteral(" site:x")).toEncoded() + '\n';
    const auto received = [&] {
        QFile file(opened);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    QTRY_COMPARE_WITH_TIMEOUT(received(), expected, 20'000);
    qputenv("PATH", path);
    QCOMPARE(m_test->reports, QStringList());
}

void tst_SearchList::hostileQueriesReachTheBrowserIntact_data()
{
    QTest::addColumn<QString>("text");
    for (const char* text : {"&&", "\"quoted\" it's", "javascript:alert(1)", "file:///etc/passwd", "a|b", "100%",
                             "C++ #1", "x onclick=alert(1)"})
        QTest::newRow(text) << QString::fromLatin1(text);
    QTest::newRow("a newline") << "two\nlines";
}

void tst_SearchList::hostileQueriesReachTheBrowserIntact()
{
    QFETCH(QString, text);
    select(m_window->ListView1, 1);
    m_window->txtSearch->setText(text); // a line edit takes no newline from the keyboard, but a paste may bring one
    QTest::mouseClick(m_window->PushButton7, Qt::LeftButton);
    select(m_window->ListView2, 1);
    QTest::mouseClick(m_window->PushButton2, Qt::LeftButton);
    QTRY_COMPARE(m_test->openedUrls.size(), 1);
    const QUrl opened = m_test->openedUrls[0];
    QCOMPARE(opened.scheme(), QStringLiteral("https"));
    QCOMPARE(opened.host(), QStringLiteral("www.google.com"));
    QCOMPARE(opened.path(), QStringLiteral("/search"));
    QVERIFY(!opened.hasFragment());
    const QString sent = opened.toString(QUrl::FullyEncoded);
    QCOMPARE(QUrl::fromPercentEncoding(sent.mid(sent.indexOf(QLatin1String("?q=")) + 3).toUtf8()),
             m_window->ListView2->itemText(1));
    QCOMPARE(m_window->ListView2->itemText(1), text + " site:albany.bazaarly.org");
}

void tst_SearchList::clearAllEmptiesTheList()
{
    QTest::mouseClick(m_window->PushButton3, Qt::LeftButton);
    QCOMPARE(searches(), QStringList());
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(m_window->PushButton5, Qt::LeftButton);
    QTest::mouseClick(m_window->PushButton3, Qt::LeftButton);
    QCOMPARE(searches(), QStringList());
    QCOMPARE(m_test->reports, QStringList());
}

void tst_SearchList::deleteSelectedRemovesOnlyThatQuery()
{
    select(m_window->ListView1, 1);
    for (const char* text : {"first", "second", "third"})
        addSearch(QString::fromLatin1(text));
    select(m_window->ListView2, 2);
    QTest::mouseClick(m_window->PushButton4, Qt::LeftButton);
    QCOMPARE(searches(), QStringList({"first site:albany.bazaarly.org", "third site:albany.bazaarly.org"}));
    QCOMPARE(m_test->reports, QStringList());
}

void tst_SearchList::deleteSelectedOnAnEmptyListDoesNothing()
{
    QTest::mouseClick(m_window->PushButton4, Qt::LeftButton);
    QCOMPARE(searches(), QStringList());
    QCOMPARE(m_test->reports, QStringList());
}

void tst_SearchList::deleteSelectedAgainAndAgainEmptiesTheList()
{
    for (const char* text : {"one", "two", "three"})
        addSearch(QString::fromLatin1(text));
    select(m_window->ListView2, 2);
    QTest::mouseClick(m_window->PushButton4, Qt::LeftButton);
    QCOMPARE(m_window->ListView2->itemText(m_window->ListView2->selectedPosition()),
             QStringLiteral("three site:albany.bazaarly.org"));
    QTest::mouseClick(m_window->PushButton4, Qt::LeftButton);
    QTest::mouseClick(m_window->PushButton4, Qt::LeftButton);
    QCOMPARE(searches(), QStringList());
    QCOMPARE(m_test->reports, QStringList());
}

void tst_SearchList::loadSamplesAppendsOneSampleEachTime()
{
    select(m_window->ListView1, 2);
    addSearch(QStringLiteral("a"));
    addSearch(QStringLiteral("b"));
    QTest::mouseClick(m_window->PushButton5, Qt::LeftButton);
    QTest::mouseClick(m_window->PushButton5, Qt::LeftButton);
    QCOMPARE(searches(), QStringList({"a site:boston.bazaarly.org", "b site:boston.bazaarly.org",
                                      "lawnmower site:albany.bazaarly.org", "lawnmower site:albany.bazaarly.org"}));
}

void tst_SearchList::listSurvivesAClose_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("stored");
    QTest::newRow("order and duplicates")
        << QStringList{"b", "a", "b"}
        << "b site:albany.bazaarly.org|a site:albany.bazaarly.org|b site:albany.bazaarly.org|";
    QTest::newRow("leading and trailing blanks") << QStringList{"  x  "} << "  x   site:albany.bazaarly.org|";
    QTest::newRow("the OR operator") << QStringList{"bike|trike"} << "bike\\|trike site:albany.bazaarly.org|";
    QTest::newRow("a thousand bars")
        << QStringList{QString(1000, QLatin1Char('|'))}
        << QString(1000, QLatin1Char('|')).replace(QLatin1String("|"), QLatin1String("\\|")) +
               " site:albany.bazaarly.org|";
    QTest::newRow("an empty list") << QStringList{} << "";
}

void tst_SearchList::listSurvivesAClose()
{
    QFETCH(QStringList, texts);
    QFETCH(QString, stored);
    m_window.reset();
    m_test->storeValue(QStringLiteral("stale|"));
    start();
    select(m_window->ListView1, 1);
    QTest::mouseClick(m_window->PushButton3, Qt::LeftButton);
    for (const QString& text : texts) {
        m_window->txtSearch->setText(text);
        QTest::mouseClick(m_window->PushButton7, Qt::LeftButton);
    }
    const QStringList before = searches();
    restart();
    QCOMPARE(m_test->storedValue(), stored);
    QCOMPARE(searches(), before);
    QCOMPARE(m_test->reports, QStringList());
}

void tst_SearchList::handWrittenValuesRestore_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("restored");
    QTest::newRow("no final bar") << "a site:x|b site:y" << QStringList{"a site:x", "b site:y"};
    QTest::newRow("empty parts are skipped") << "|a||b|" << QStringList{"a", "b"};
    QTest::newRow("bars only restore nothing") << "|||" << QStringList{};
    QTest::newRow("blanks only are an item") << "   |" << QStringList{"   "};
}

void tst_SearchList::handWrittenValuesRestore()
{
    QFETCH(QString, value);
    QFETCH(QStringList, restored);
    m_test->storeValue(value);
    m_window.reset();
    start();
    QCOMPARE(searches(), restored);
    QCOMPARE(m_test->reports, QStringList());
}

void tst_SearchList::longListIsSavedRestoredAndOpenedWhole()
{
    // Far past what 16-bit counts could hold.
    constexpr int kCount = 40000;
    QStringList queries;
    for (int i = 1; i <= kCount; ++i)
        queries.append(QStringLiteral("item %1 site:x.org").arg(i));
    m_window->ListView2->listModel().insert(0, queries);
    restart();
    QCOMPARE(m_window->ListView2->count(), kCount);
    QCOMPARE(searches(), queries);
    QTest::mouseClick(m_window->PushButton6, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(m_test->openedUrls.size(), kCount, 60'000);
    QCOMPARE(m_test->openedUrls.last(), resultPage(queries.last()));
    QCOMPARE(m_test->reports, QStringList());
}

void tst_SearchList::failedSaveIsReportedAndTheCloseGoesOn_data()
{
    QTest::addColumn<bool>("folderIsAFile");
    QTest::newRow("a folder in place of the settings file: the list goes beside it") << false;
    QTest::newRow("a file in place of the settings folder: the list goes to the home folder") << true;
}

void tst_SearchList::failedSaveIsReportedAndTheCloseGoesOn()
{
    QFETCH(bool, folderIsAFile);
    QTest::mouseClick(m_window->PushButton5, Qt::LeftButton);
    QTest::mouseClick(m_window->PushButton5, Qt::LeftButton);
    const QString settingsFolder = QFileInfo(m_test->settingsPath()).path();
    if (folderIsAFile)
        QVERIFY(QFile(settingsFolder).open(QIODevice::WriteOnly));
    else
        QVERIFY(QDir().mkpath(m_test->settingsPath())); // a folder where the settings file belongs
    m_window->close();
    QVERIFY(!m_window->isVisible());
    QCOMPARE(m_test->reports.size(), 1);
    QVERIFY(isReportFor(m_test->reports[0], QStringLiteral("Form_QueryUnload"), 100));
    QVERIFY(m_test->reports[0].startsWith(QStringLiteral("The search list could not be saved.")));
    const QString recovery = QDir::toNativeSeparators(QDir(folderIsAFile ? m_test->homePath() : settingsFolder)
                                                          .filePath(QStringLiteral("Bazaarly searches not saved.txt")));
    QVERIFY2(m_test->reports[0].contains(recovery), qPrintable(m_test->reports[0]));
    QFile file(recovery);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QString(kSampleQuery + QLatin1Char('\n')).repeated(2).toUtf8());

    start(); // the next start says where the list is
    QVERIFY(std::any_of(m_test->reports.cbegin() + 1, m_test->reports.cend(), [&](const QString& report) {
        return isReportFor(report, QStringLiteral("Form_Load"), 142) && report.contains(recovery);
    }));
}

void tst_SearchList::searchesNoFolderCanTakeAreInTheReport()
{
    QTest::mouseClick(m_window->PushButton5, Qt::LeftButton);
    addSearch(QStringLiteral("desk"));
    // Files in place of the settings folder and of the home folder: no file can be written in either.
    QVERIFY(QFile(QFileInfo(m_test->settingsPath()).path()).open(QIODevice::WriteOnly));
    QVERIFY(QDir(m_test->homePath()).removeRecursively());
    QVERIFY(QFile(m_test->homePath()).open(QIODevice::WriteOnly));
    m_window->close();
    QCOMPARE(m_test->reports.size(), 1);
    QVERIFY(isReportFor(m_test->reports[0], QStringLiteral("Form_QueryUnload"), 100));
    QVERIFY2(m_test->reports[0].contains(QStringLiteral("Press Ctrl+C to copy this report with the searches below, "
                                                        "and keep them somewhere safe:\n") +
                                         kSampleQuery + QStringLiteral("\ndesk site:albany.bazaarly.org\r\n")),
             qPrintable(m_test->reports[0]));
}

void tst_SearchList::startUpTellsOfEachRecoveryFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("told");
    QTest::newRow("a later recovery file is told of too")
        << QStringLiteral("Bazaarly searches not saved-2.txt") << true;
    QTest::newRow("a name in other capitals is told of") << QStringLiteral("bazaarly SEARCHES not saved.TXT") << true;
    QTest::newRow("another file of the program's is not") << QStringLiteral("Bazaarly searches.txt") << false;
    QTest::newRow("a copy with another ending is not")
        << QStringLiteral("Bazaarly searches not saved.txt.bak") << false;
}

void tst_SearchList::startUpTellsOfEachRecoveryFile()
{
    QFETCH(QString, name);
    QFETCH(bool, told);
    m_window.reset();
    const QDir folder = QFileInfo(m_test->settingsPath()).dir();
    QVERIFY(QDir().mkpath(folder.path()));
    QFile file(folder.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("lamp\n") == 5);
    file.close();
    start();
    const QString path = QDir::toNativeSeparators(file.fileName());
    QCOMPARE(std::any_of(m_test->reports.cbegin(), m_test->reports.cend(),
                         [&](const QString& report) {
                             return isReportFor(report, QStringLiteral("Form_Load"), 142) && report.contains(path);
                         }),
             told);
}

void tst_SearchList::listIsStoredShortlyAfterAChange()
{
    QVERIFY(saveSoonAfterAChange());
    select(m_window->ListView1, 1);
    addSearch(QStringLiteral("desk"));
    addSearch(QStringLiteral("lamp"));
    QCOMPARE(m_test->storedValue(), QString()); // a burst of edits is gathered into one save
    QTRY_COMPARE(m_test->storedValue(), QStringLiteral("desk site:albany.bazaarly.org|lamp site:albany.bazaarly.org|"));
    QCOMPARE(m_test->reports, QStringList());
}

void tst_SearchList::listAnotherCopyStoredIsNeverLost_data()
{
    QTest::addColumn<bool>("changed"); // a search is added in this window
    QTest::addColumn<bool>("settle");  // and saved before the other copy stores its list
    QTest::newRow("a window left unchanged leaves the other copy's list") << false << false;
    QTest::newRow("a window saved before the other copy wrote leaves its list") << true << true;
    QTest::newRow("a window changed since stores its list and keeps the other's") << true << false;
}

void tst_SearchList::listAnotherCopyStoredIsNeverLost()
{
    QFETCH(bool, changed);
    QFETCH(bool, settle);
    m_window.reset();
    m_test->storeValue(QStringLiteral("first site:x|"));
    start();
    QVERIFY(saveSoonAfterAChange());
    const QString ours = QStringLiteral("first site:x|desk site:albany.bazaarly.org|");
    if (changed)
        addSearch(QStringLiteral("desk"));
    if (settle)
        QTRY_COMPARE(m_test->storedValue(), ours);
    const QString theirs = QStringLiteral("theirs site:y|");
    m_test->storeValue(theirs); // as another copy of the program would
    m_window->close();
    const bool bothChanged = changed && !settle;
    QCOMPARE(m_test->storedValue(), bothChanged ? ours : theirs);
    const QString copy = m_test->settingsPath() + QStringLiteral(".unrestored");
    QCOMPARE(QFileInfo::exists(copy), bothChanged);
    QCOMPARE(m_test->reports.size(), bothChanged ? 1 : 0);
    if (bothChanged) {
        QVERIFY(isReportFor(m_test->reports[0], QStringLiteral("Form_QueryUnload"), 100));
        QVERIFY2(m_test->reports[0].contains(QDir::toNativeSeparators(copy)), qPrintable(m_test->reports[0]));
        QCOMPARE(QSettings(copy, QSettings::IniFormat).value(QStringLiteral("Searches")).toString(), theirs);
    }
}

void tst_SearchList::failedSaveAfterAChangeIsReportedOnce()
{
    QTimer* saveTimer = saveSoonAfterAChange();
    QVERIFY(saveTimer);
    QSignalSpy saves(saveTimer, &QTimer::timeout);
    QVERIFY(saves.isValid());
    QVERIFY(QDir().mkpath(m_test->settingsPath())); // a folder where the settings file belongs
    QTest::mouseClick(m_window->PushButton5, Qt::LeftButton);
    QTRY_COMPARE(m_test->reports.size(), 1);
    QVERIFY(isReportFor(m_test->reports[0], QStringLiteral("Timer1_Timer"), 100));
    QTest::mouseClick(m_window->PushButton5, Qt::LeftButton);
    QTRY_COMPARE(saves.count(), 2);
    QCOMPARE(m_test->reports.size(), 1); // tried again, and not said again
    QVERIFY(QDir(m_test->settingsPath()).removeRecursively());
    QTest::mouseClick(m_window->PushButton5, Qt::LeftButton);
    QTRY_COMPARE(m_test->storedValue(), QString(kSampleQuery + QLatin1Char('|')).repeated(3));
}

void tst_SearchList::unreadableStoreIsReportedAtStartUp()
{
    m_window.reset();
    QVERIFY(QDir().mkpath(m_test->settingsPath()));
    start();
    QCOMPARE(searches(), QStringList());
    QCOMPARE(m_test->reports.size(), 1);
    QVERIFY(isReportFor(m_test->reports[0], QStringLiteral("Form_Load"), 142));
}

void tst_SearchList::restoreWithoutTheMemoryToDecodeReportsOnce()
{
#if !defined(Q_OS_UNIX)
    QSKIP("The address space is limited here on Unix only.");
#else
    m_window.reset();
    m_test->writeSettingsFile("[General]\nSearches=" + QByteArray(100'000'000, 'a') + "|\n");
    {
        const AddressSpaceLimit limit(450'000'000);
        start();
    }
    QCOMPARE(searches(), QStringList());
    QCOMPARE(m_test->reports.size(), 1);
    QVERIFY(isReportFor(m_test->reports[0], QStringLiteral("Form_Load"), 152));
#endif
}

void tst_SearchList::hostileStoredValues_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("items");
    QTest::addColumn<bool>("reported");
    QString tenMegabytes;
    for (int i = 0; tenMegabytes.size() < 10'000'000; ++i)
        tenMegabytes += QStringLiteral("a rather long search text number %1 site:town%1.bazaarly.org|").arg(i);
    QTest::newRow("ten megabytes") << QVariant(tenMegabytes) << int(tenMegabytes.count(QLatin1Char('|'))) << false;
    QTest::newRow("control characters") << QVariant(QStringLiteral("\x01\x02|tab\there|\x7f|")) << 3 << false;
    QTest::newRow("a value that is not text") << QVariant(QRect(1, 2, 3, 4)) << 0 << true;
    QTest::newRow("a number, which the file holds as its text") << QVariant(42) << 1 << false;
}

void tst_SearchList::hostileStoredValues()
{
    QFETCH(QVariant, value);
    QFETCH(int, items);
    QFETCH(bool, reported);
    m_window.reset();
    {
        QSettings settings(m_test->settingsPath(), QSettings::IniFormat);
        settings.setValue(QStringLiteral("Searches"), value);
    }
    start();
    QCOMPARE(m_window->ListView2->count(), items);
    QCOMPARE(m_test->reports.size(), reported ? 1 : 0);
    if (reported)
        QVERIFY(isReportFor(m_test->reports[0], QStringLiteral("Form_Load"), 142));
}

void tst_SearchList::halfCharacterInTheStoreIsReplacedAndSaidOnce()
{
    m_window.reset();
    m_test->writeSettingsFile("[General]\nSearches=lone\\xd800 site:x.org|\n"); // QSettings reads it as U+D800
    start();
    QVERIFY(saveSoonAfterAChange()); // the restored list is saved with the half character replaced
    const QString replaced = QStringLiteral("lone\uFFFD site:x.org");
    QCOMPARE(searches(), QStringList{replaced});
    QCOMPARE(m_test->reports.size(), 1);
    QVERIFY(isReportFor(m_test->reports[0], QStringLiteral("Form_Load"), 142));
    QTRY_COMPARE(m_test->storedValue(), replaced + QLatin1Char('|'));
    restart();
    QCOMPARE(searches(), QStringList{replaced});
    QCOMPARE(m_test->reports.size(), 1); // the close saved without a failure, and the start said nothing new
}

void tst_SearchList::handEditedListWithCommasRestoresTheText()
{
    m_window.reset();
    m_test->writeSettingsFile("[General]\nSearches=red, blue bike site:albany.bazaarly.org|desk site:x|\n");
    start();
    QCOMPARE(searches(), QStringList({"red, blue bike site:albany.bazaarly.org", "desk site:x"}));
}

void tst_SearchList::failedRestoreNeverCostsTheStoredList_data()
{
    QTest::addColumn<bool>("unreadable"); // a folder in place of the store, rather than a value that is not text
    QTest::addColumn<bool>("changed");
    QTest::addColumn<bool>("settle");         // the save that follows a change runs before the close
    QTest::addColumn<QByteArray>("contents"); // the file as found; a QRect stored by QSettings when empty
    QTest::addColumn<bool>("chooseEngine");
    const QByteArray deep = "[General]\nSearches=@Variant(" + QByteArray("\\0\\0\\0\\t\\0\\0\\0\\x1").repeated(30000) +
                            "\\0\\0\\0\\t\\0\\0\\0\\0)\n";
    QTest::newRow("a value that is not text stays when the list is left alone")
        << false << false << false << QByteArray() << false;
    QTest::newRow("a value that is not text is copied before a changed list is saved")
        << false << true << false << QByteArray() << false;
    QTest::newRow("a value that is not text is copied before the save that follows a change")
        << false << true << true << QByteArray() << false;
    QTest::newRow("a value that is not text is copied before an engine choice is stored")
        << false << false << false << QByteArray() << true;
    QTest::newRow("bytes that are not UTF-8 stay when the list is left alone")
        << false << false << false << QByteArray("[General]\nSearches=@ByteArray(ba site:x.org|\\xff\\0|)\n") << false;
    QTest::newRow("a store that cannot be read stays when the list is left alone")
        << true << false << false << QByteArray() << false;
    QTest::newRow("a store that cannot be read or copied is not replaced")
        << true << true << false << QByteArray() << false;
    QTest::newRow("lists nested 30,000 deep are copied before the save that follows a change")
        << false << true << true << deep << false;
}

void tst_SearchList::failedRestoreNeverCostsTheStoredList()
{
    QFETCH(bool, unreadable);
    QFETCH(bool, changed);
    QFETCH(bool, settle);
    QFETCH(QByteArray, contents);
    QFETCH(bool, chooseEngine);
    m_window.reset();
    if (unreadable) {
        QVERIFY(QDir().mkpath(m_test->settingsPath()));
    } else if (contents.isEmpty()) {
        QSettings settings(m_test->settingsPath(), QSettings::IniFormat);
        settings.setValue(QStringLiteral("Searches"), QRect(1, 2, 3, 4));
    } else {
        m_test->writeSettingsFile(contents);
    }
    const QByteArray original = contentsOf(m_test->settingsPath());
    start();
    QVERIFY(!settle || saveSoonAfterAChange());
    QCOMPARE(m_window->ListView2->count(), 0);
    QCOMPARE(m_test->reports.size(), 1);
    QVERIFY(isReportFor(m_test->reports[0], QStringLiteral("Form_Load"), 142));
    if (changed)
        addSearch(QStringLiteral("desk"));
    if (chooseEngine)
        this->chooseEngine(QStringLiteral("Bing"));
    const bool written = changed || chooseEngine;
    const QString copy = m_test->settingsPath() + QStringLiteral(".unrestored");
    if (settle) { // the copy and the save are made at one go, before the test can look
        QTRY_VERIFY(QFileInfo::exists(copy));
        QCOMPARE(m_test->storedValue(), QStringLiteral("desk site:albany.bazaarly.org|"));
    }
    m_window->close();

    QCOMPARE(QFileInfo::exists(copy), written && !unreadable);
    QCOMPARE(m_test->reports.size(), written ? 2 : 1);
    if (written) // the save says where the old list is, or that nothing was replaced
        QVERIFY(isReportFor(m_test->reports[1], QStringLiteral("Form_QueryUnload"), 100));
    if (unreadable) {
        QVERIFY(QFileInfo(m_test->settingsPath()).isDir());
        return;
    }
    if (!written) {
        QCOMPARE(contentsOf(m_test->settingsPath()), original);
        return;
    }
    QCOMPARE(m_test->storedValue(), changed ? QStringLiteral("desk site:albany.bazaarly.org|") : QString());
    if (chooseEngine)
        QCOMPARE(m_test->storedValue(QStringLiteral("SearchEngine")), QStringLiteral("Bing"));
    QVERIFY2(m_test->reports[1].contains(QDir::toNativeSeparators(copy)), qPrintable(m_test->reports[1]));
    QCOMPARE(contentsOf(copy), original);
}

// Right-clicks the item at the position (0: below the items), as the user opens a list's menu.
void tst_SearchList::rightClick(ListView* list, int position)
{
    const QPoint at = position == 0 ? QPoint(5, list->viewport()->height() - 5)
                                    : list->visualRect(list->listModel().index(position - 1, 0)).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, list->viewport()->mapToGlobal(at));
    QApplication::sendEvent(list->viewport(), &event);
}

// Clicks the entry of an open menu whose text, without its keys, is the one given; the menu closes.
void tst_SearchList::choose(QMenu* menu, const QString& entry)
{
    QTRY_VERIFY(menu->isVisible());
    menu->hide();
    for (QAction* action : menu->actions()) {
        if (action->text().section(QLatin1Char('\t'), 0, 0).replace(QLatin1String("&&"), QLatin1String("&")) == entry) {
            QVERIFY2(action->isEnabled(), qPrintable(entry));
            return action->trigger();
        }
    }
    QFAIL(qPrintable(entry));
}

// An entry of the location list's menu, or a group of its submenu `entry`.
void tst_SearchList::chooseFromLocationMenu(const QString& entry, const QString& group)
{
    ListView* list = m_window->ListView1;
    rightClick(list, list->count() > 0 ? int(list->selectedPosition()) : 0);
    if (group.isEmpty())
        return choose(m_window->mnuLocations, entry);
    m_window->mnuLocations->hide();
    QMenu* submenu = entry == QLatin1String("Select Towns") ? m_window->mnuSelectTowns : m_window->mnuForgetTowns;
    submenu->popup(QPoint());
    choose(submenu, group);
}

QList<qsizetype> tst_SearchList::selected(ListView* list) const
{
    return list->count() == 0 ? QList<qsizetype>() : list->selectedPositions();
}

void tst_SearchList::severalSelectedSearches_data()
{
    QTest::addColumn<Action>("command");
    QTest::addColumn<QString>("left"); // the queries' texts, each a letter
    QTest::addColumn<QList<qsizetype>>("selectedAfter");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QString>("copied");
    using Positions = QList<qsizetype>;
    const auto press = [this](int key) { return Action([=] { QTest::keyClick(m_window->ListView2, Qt::Key(key)); }); };
    QTest::newRow("Open Selected opens them in list order") << Action([this] {
        QTest::mouseClick(m_window->PushButton2, Qt::LeftButton);
    }) << "abcde" << Positions{2, 4} << "bd" << "";
    QTest::newRow("Delete Selected takes them away and selects the one after the last") << Action([this] {
        QTest::mouseClick(m_window->PushButton4, Qt::LeftButton);
    }) << "ace" << Positions{3} << "" << "";
    QTest::newRow("the Delete key does the same") << press(Qt::Key_Delete) << "ace" << Positions{3} << "" << "";
    QTest::newRow("the menu's Copy copies them, one a line") << Action([this] {
        rightClick(m_window->ListView2, 2);
        choose(m_window->mnuSearch, QStringLiteral("Copy"));
    }) << "abcde" << Positions{2, 4} << "" << "b site:albany.bazaarly.org\nd site:albany.bazaarly.org";
    QTest::newRow("Ctrl+A then Delete empties the list") << Action([this] {
        QTest::keySequence(m_window->ListView2, QKeySequence::SelectAll);
        QTest::keyClick(m_window->ListView2, Qt::Key_Delete);
    }) << "" << Positions{} << "" << "";
    QTest::newRow("the last ones deleted leave the new last one selected") << Action([this] {
        click(m_window->ListView2, 3);
        click(m_window->ListView2, 5, Qt::ShiftModifier);
        QTest::keyClick(m_window->ListView2, Qt::Key_Delete);
    }) << "ab" << Positions{2} << "" << "";
}

void tst_SearchList::severalSelectedSearches()
{
    QFETCH(Action, command);
    QFETCH(QString, left);
    QFETCH(QList<qsizetype>, selectedAfter);
    QFETCH(QString, opened);
    QFETCH(QString, copied);
    QGuiApplication::clipboard()->clear();
    const auto queries = [](const QString& letters) {
        QStringList queries;
        for (const QChar letter : letters)
            queries.append(letter + QStringLiteral(" site:albany.bazaarly.org"));
        return queries;
    };
    for (const QChar letter : QStringLiteral("abcde"))
        addSearch(letter);
    click(m_window->ListView2, 4);
    click(m_window->ListView2, 2, Qt::ControlModifier);
    QCOMPARE(m_window->ListView2->accessibleDescription(), QStringLiteral("2 of 5 selected"));
    command();
    QCOMPARE(searches(), queries(left));
    QCOMPARE(selected(m_window->ListView2), selectedAfter);
    QList<QUrl> pages;
    for (const QString& query : queries(opened))
        pages.append(resultPage(query));
    QTRY_COMPARE(m_test->openedUrls, pages);
    QCOMPARE(QGuiApplication::clipboard()->text(), copied);
    keys(QKeySequence::Undo); // a delete of several is one step
    QCOMPARE(searches(), queries(left == QLatin1String("abcde") ? QStringLiteral("abcd") : QStringLiteral("abcde")));
    QCOMPARE(m_test->reports, QStringList());
}

void tst_SearchList::searchFilesAreSavedAndAddedBack_data()
{
    QTest::addColumn<Action>("makeFile");
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QString>("refusal"); // how the report begins
    const auto file = [this](const QByteArray& contents) {
        return Action([=] { writeFile(m_test->fileToOpen, contents); });
    };
    QTest::newRow("Save Searches As writes one query a line, and the file is added back") << Action([this] {
        m_test->fileToSave = m_test->fileToOpen;
        rightClick(m_window->ListView2, 1);
        choose(m_window->mnuSearch, QStringLiteral("Save Searches As\u2026"));
        QCOMPARE(contentsOf(m_test->fileToSave), "two lines site:x\n");
    }) << QStringList{"two lines site:x"} << "";
    QTest::newRow("blank lines are skipped, Windows line ends taken")
        << file("desk site:x\r\n\r\n  \r\n lamp  site:y\r\n") << QStringList{"desk site:x", " lamp  site:y"} << "";
    QTest::newRow("a recovery file that the start-up names") << Action([this] {
        const QString recovery = QFileInfo(m_test->settingsPath()).dir().filePath("Bazaarly searches not saved.txt");
        writeFile(recovery, "desk site:x\n");
        restart();
        QVERIFY(m_test->reports.value(0).contains("Add Searches From File\u2026 in the search list's right-click"));
        m_test->reports.clear();
        m_test->fileToOpen = recovery;
    }) << QStringList{"desk site:x"} << "";
    QTest::newRow("a file that is not text") << file(QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16)) << QStringList{}
                                             << "The file \"%1\" is not a text file. The search list is unchanged.";
    QTest::newRow("a file too large") << file(QByteArray(kLargestSearchFile + 1, 'a')) << QStringList{}
                                      << "The file \"%1\" is too large to hold searches";
    QTest::newRow("a folder") << Action([this] { QVERIFY(QDir().mkpath(m_test->fileToOpen)); }) << QStringList{}
                              << "The file \"%1\" is not a file. The search list is unchanged.";
    QTest::newRow("a file gone meanwhile") << Action([] {}) << QStringList{}
                                           << "The file \"%1\" was not found. The search list is unchanged.";
    QTest::newRow("a file of blank lines") << file("\n \n\t\n") << QStringList{} << "The file \"%1\" holds no searches.";
}

void tst_SearchList::searchFilesAreSavedAndAddedBack()
{
    QFETCH(Action, makeFile);
    QFETCH(QStringList, added);
    QFETCH(QString, refusal);
    m_window.reset();
    m_test->storeValue(QStringLiteral("two\nlines site:x|")); // a line break, stored by hand
    start();
    m_test->fileToOpen = m_test->homePath() + QStringLiteral("/searches.txt");
    makeFile();
    const QStringList before = searches();
    rightClick(m_window->ListView2, 1);
    choose(m_window->mnuSearch, QStringLiteral("Add Searches From File\u2026"));
    QCOMPARE(searches(), before + added);
    QCOMPARE(m_test->reports.size(), refusal.isEmpty() ? 0 : 1);
    if (!refusal.isEmpty())
        QVERIFY2(m_test->reports[0].startsWith(refusal.arg(QDir::toNativeSeparators(m_test->fileToOpen))),
                 qPrintable(m_test->reports[0]));
    keys(QKeySequence::Undo); // the whole file is one step, a file refused none
    QCOMPARE(searches(), before);
}

// Kept are the last five clears and deletes of several, beside the settings; the last comes back after a restart.
void tst_SearchList::clearedSearchesComeBackAfterARestart()
{
    for (const QChar letter : QStringLiteral("abcdef")) {
        addSearch(letter);
        QTest::mouseClick(m_window->PushButton3, Qt::LeftButton);
    }
    for (const QChar letter : QStringLiteral("xyz"))
        addSearch(letter);
    click(m_window->ListView2, 2);
    click(m_window->ListView2, 3, Qt::ShiftModifier);
    QTest::mouseClick(m_window->PushButton4, Qt::LeftButton);
    QTest::mouseClick(m_window->PushButton4, Qt::LeftButton); // a delete of one, which Ctrl+Z alone takes back
    const QDir kept(QFileInfo(m_test->settingsPath()).dir().filePath("Bazaarly cleared searches"));
    QCOMPARE(kept.entryList(QDir::Files), QStringList({"3.txt", "4.txt", "5.txt", "6.txt", "7.txt"}));
    restart();
    rightClick(m_window->ListView2, 0);
    choose(m_window->mnuSearch, QStringLiteral("Bring Back Cleared Searches"));
    QCOMPARE(searches(), QStringList({"y site:albany.bazaarly.org", "z site:albany.bazaarly.org"}));
    keys(QKeySequence::Undo);
    QCOMPARE(searches(), QStringList());
    QCOMPARE(m_test->reports, QStringList());
}

void tst_SearchList::townGroups_data()
{
    QTest::addColumn<Action>("steps");
    QTest::addColumn<QString>("group"); // chosen from Select Towns at the end
    QTest::addColumn<QList<qsizetype>>("towns");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("reports"); // how each begins
    const auto remember = [this](const QString& name, const QList<qsizetype>& towns) {
        click(m_window->ListView1, int(towns[0]));
        for (const qsizetype town : towns.mid(1))
            click(m_window->ListView1, int(town), Qt::ControlModifier);
        m_test->textAnswer = name;
        chooseFromLocationMenu(QStringLiteral("Remember These Towns\u2026"));
    };
    const auto removeTownC = [this] {
        m_test->writeLocations({"http://a.x/,A,Ohio", "http://b.x/,B,Ohio", "http://d.x/,D,Oregon"});
        restart();
        chooseFromLocationMenu(QStringLiteral("Select Towns"), QStringLiteral("G"));
    };
    const QString cGone = QStringLiteral("The town c.x of \"G\" is no longer in the location list, so it is left out.");
    using Towns = QList<qsizetype>;
    QTest::newRow("towns of three states are selected again after a restart, whatever the filter") << Action([=] {
        remember(QStringLiteral("Three states"), {1, 3, 4});
        restart();
        QTest::keyClicks(m_window->Text1, QStringLiteral("nowhere"));
        letTheFilterCatchUp(*m_window);
    }) << "Three states" << Towns{1, 3, 4} << QStringList{"Three states"} << QStringList{};
    QTest::newRow("a name in use is replaced once the user agrees") << Action([=] {
        remember(QStringLiteral("Ohio & more"), {1});
        m_test->yesAnswer = true;
        remember(QStringLiteral("Ohio & more"), {2, 5});
        QVERIFY(m_test->questions.last().startsWith("Towns are remembered as \"Ohio & more\" already."));
    }) << "Ohio & more" << Towns{2, 5} << QStringList{"Ohio & more"} << QStringList{};
    QTest::newRow("a town gone from the catalogue is left out and said once, also after a restart") << Action([=] {
        remember(QStringLiteral("G"), {1, 3});
        removeTownC();
        restart();
    }) << "G" << Towns{1} << QStringList{"G"} << QStringList{cGone};
    QTest::newRow("a group whose towns have all gone says so every time") << Action([=] {
        remember(QStringLiteral("G"), {3});
        removeTownC();
    }) << "G" << Towns{1} << QStringList{"G"} << QStringList{cGone, "None of the towns of \"G\" is in the location"};
    QTest::newRow("a group forgotten is offered no more, the others stay") << Action([=] {
        remember(QStringLiteral("A"), {1});
        remember(QStringLiteral("B"), {2, 3});
        chooseFromLocationMenu(QStringLiteral("Forget Towns"), QStringLiteral("A"));
    }) << "B" << Towns{2, 3} << QStringList{"B"} << QStringList{};
    QTest::newRow("a value not in the program's form is never written over, nor costs the list") << Action([=] {
        m_window.reset();
        const QByteArray contents = "[General]\nSearches=desk site:x|\nTownGroups=@Rect(1 2 3 4)\n";
        m_test->writeSettingsFile(contents);
        start();
        remember(QStringLiteral("G"), {1});
        QCOMPARE(contentsOf(m_test->settingsPath()), contents);
        QCOMPARE(searches(), QStringList{"desk site:x"});
    }) << "" << Towns{1} << QStringList{} << QStringList{"The remembered towns cannot be read, so they are left"};
    QTest::newRow("a broken group is left out and kept in a copy, the other groups stay") << Action([=] {
        m_window.reset();
        m_test->storeValue(QStringLiteral("Ohio|a.x|b.x||broken|"), QStringLiteral("TownGroups"));
        start();
        remember(QStringLiteral("New York"), {3});
    }) << "Ohio" << Towns{1, 2} << QStringList{"Ohio", "New York"}
       << QStringList{"Part of the remembered towns was not in the form this program writes; all of it has been kept"};
}

void tst_SearchList::townGroups()
{
    QFETCH(Action, steps);
    QFETCH(QString, group);
    QFETCH(QList<qsizetype>, towns);
    QFETCH(QStringList, names);
    QFETCH(QStringList, reports);
    m_test->writeLocations({"http://a.x/,A,Ohio", "http://b.x/,B,Ohio", "http://c.x/,C,New York",
                            "http://d.x/,D,Oregon", "http://e.x/,E,Texas"});
    restart();
    steps();
    if (!group.isEmpty()) {
        const qsizetype said = m_test->reports.size();
        chooseFromLocationMenu(QStringLiteral("Select Towns"), group);
        QCOMPARE(m_window->Text1->text(), QString());
        QCOMPARE(m_window->txtSearch->hasFocus(), m_test->reports.size() == said); // ready for Add Search
    }
    QCOMPARE(selected(m_window->ListView1), towns);
    QStringList offered;
    for (const QAction* entry : m_window->mnuSelectTowns->actions())
        offered.append(entry->text().replace(QLatin1String("&&"), QLatin1String("&")));
    QCOMPARE(offered, names);
    QCOMPARE(m_test->reports.size(), reports.size());
    for (qsizetype i = 0; i < reports.size(); ++i)
        QVERIFY2(m_test->reports[i].startsWith(reports[i]), qPrintable(m_test->reports[i]));
}

QTEST_MAIN(tst_SearchList)
#include "tst_searchlist.moc"
