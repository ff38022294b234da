// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestEnvironment.h"

#include "platform/Failure.h"
#include "platform/ListView.h"
#include "platform/PushButton.h"
#include "searches/SearchQuery.h"
#include "ui/Form1.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QSettings>
#include <QTest>

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
    void openSelectedOpensTheSelectedQuery();
    void openSelectedOnAnEmptyListReports();
    void openAllOpensEveryQueryInOrder();
    void openAllReportsEachFailingItemAndGoesOn();
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
    void failedSaveIsReportedAndTheCloseGoesOn();
    void unreadableStoreIsReportedAtStartUp();
    void hostileStoredValues_data();
    void hostileStoredValues();
    void handEditedListWithCommasRestoresTheText();
    void failedRestoreNeverCostsTheStoredList_data();
    void failedRestoreNeverCostsTheStoredList();

private:
    void start();
    void restart();
    void addSearch(const QString& text);
    void select(ListView* list, int position);
    QStringList searches() const;

    std::unique_ptr<TestEnvironment> m_test;
    std::unique_ptr<Form1> m_window;
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

void tst_SearchList::select(ListView* list, int position)
{
    const QRect row = list->visualRect(list->listModel().index(position - 1, list->listModel().columnCount() - 1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    QCOMPARE(list->selectedPosition(), position);
}

void tst_SearchList::addSearch(const QString& text)
{
    QTest::keyClicks(m_window->txtSearch, text);
    QTest::mouseClick(m_window->PushButton7, Qt::LeftButton);
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
    QCOMPARE(m_window->txtSearch->text(), QString());
    QVERIFY(m_window->txtSearch->hasFocus());
}

void tst_SearchList::openSelectedOpensTheSelectedQuery()
{
    QTest::mouseClick(m_window->PushButton5, Qt::LeftButton);
    select(m_window->ListView1, 2);
    addSearch(QStringLiteral("chair"));
    select(m_window->ListView2, 2);
    QTest::mouseClick(m_window->PushButton2, Qt::LeftButton);
    QCOMPARE(m_test->openedUrls, QList<QUrl>{searchUrl(QStringLiteral("chair site:boston.bazaarly.org"))});
    QCOMPARE(m_test->openedUrls[0].toString(QUrl::FullyEncoded),
             QStringLiteral("https://www.google.com/#q=chair%20site:boston.bazaarly.org"));
    QCOMPARE(m_window->ListView2->selectedPosition(), 2);
}

void tst_SearchList::openSelectedOnAnEmptyListReports()
{
    QTest::mouseClick(m_window->PushButton2, Qt::LeftButton);
    QCOMPARE(m_test->openedUrls, QList<QUrl>());
    QCOMPARE(m_test->reports.size(), 1);
    QVERIFY(isReportFor(m_test->reports[0], QStringLiteral("PushButton2_Click"), 100));
}

void tst_SearchList::openAllOpensEveryQueryInOrder()
{
    QTest::mouseClick(m_window->PushButton6, Qt::LeftButton);
    QCOMPARE(m_test->openedUrls, QList<QUrl>());
    select(m_window->ListView1, 2);
    for (const char* text : {"one", "two", "three"})
        addSearch(QString::fromLatin1(text));
    QTest::mouseClick(m_window->PushButton6, Qt::LeftButton);
    QCOMPARE(m_test->openedUrls, (QList<QUrl>{searchUrl(QStringLiteral("one site:boston.bazaarly.org")),
                                              searchUrl(QStringLiteral("two site:boston.bazaarly.org")),
                                              searchUrl(QStringLiteral("three site:boston.bazaarly.org"))}));
    QCOMPARE(m_test->reports, QStringList());
}

void tst_SearchList::openAllReportsEachFailingItemAndGoesOn()
{
    // A desktop whose handler refuses some addresses.
    m_window.reset();
    Environment environment = m_test->environment();
    environment.openUrl = [this](const QUrl& address) {
        if (address.toString().contains(QLatin1String("broken")))
            throw Failure(QStringLiteral("The address could not be opened."));
        m_test->openedUrls.append(address);
    };
    m_test->storeValue(QStringLiteral("one site:x|broken site:x|two site:x|broken too site:x|three site:x|"));
    m_window = std::make_unique<Form1>(environment);
    QTest::mouseClick(m_window->PushButton6, Qt::LeftButton);
    QCOMPARE(m_test->openedUrls,
             (QList<QUrl>{searchUrl(QStringLiteral("one site:x")), searchUrl(QStringLiteral("two site:x")),
                          searchUrl(QStringLiteral("three site:x"))}));
    QCOMPARE(m_test->reports.size(), 2);
    for (const QString& report : std::as_const(m_test->reports))
        QVERIFY(isReportFor(report, QStringLiteral("PushButton6_Click"), 102));
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
    QCOMPARE(m_test->openedUrls.size(), 1);
    const QUrl opened = m_test->openedUrls[0];
    QCOMPARE(opened.scheme(), QStringLiteral("https"));
    QCOMPARE(opened.host(), QStringLiteral("www.google.com"));
    QCOMPARE(opened.path(), QStringLiteral("/"));
    const QString sent = opened.toString(QUrl::FullyEncoded);
    QCOMPARE(QUrl::fromPercentEncoding(sent.mid(sent.indexOf(QLatin1String("#q=")) + 3).toUtf8()),
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
    QCOMPARE(m_window->ListView2->selectedItemText(), QStringLiteral("three site:albany.bazaarly.org"));
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
    m_test->storeValue(QStringLiteral("stale|"));
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
    for (const QString& query : std::as_const(queries))
        m_window->ListView2->addItem(query);
    restart();
    QCOMPARE(m_window->ListView2->count(), kCount);
    QCOMPARE(searches(), queries);
    QTest::mouseClick(m_window->PushButton6, Qt::LeftButton);
    QCOMPARE(m_test->openedUrls.size(), kCount);
    QCOMPARE(m_test->openedUrls.last(), searchUrl(queries.last()));
    QCOMPARE(m_test->reports, QStringList());
}

void tst_SearchList::failedSaveIsReportedAndTheCloseGoesOn()
{
    QTest::mouseClick(m_window->PushButton5, Qt::LeftButton);
    QVERIFY(QDir().mkpath(m_test->settingsPath())); // a folder where the settings file belongs
    m_window->close();
    QVERIFY(!m_window->isVisible());
    QCOMPARE(m_test->reports.size(), 1);
    QVERIFY(isReportFor(m_test->reports[0], QStringLiteral("Form_QueryUnload"), 100));
    QVERIFY(m_test->reports[0].startsWith(QStringLiteral("The search list could not be saved.")));
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
    QTest::newRow("a number") << QVariant(42) << 0 << true;
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

void tst_SearchList::handEditedListWithCommasRestoresTheText()
{
    m_window.reset();
    QVERIFY(QDir().mkpath(QFileInfo(m_test->settingsPath()).path()));
    QFile file(m_test->settingsPath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[General]\nSearches=red, blue bike site:albany.bazaarly.org|desk site:x|\n");
    file.close();
    start();
    QCOMPARE(searches(), QStringList({"red, blue bike site:albany.bazaarly.org", "desk site:x"}));
}

void tst_SearchList::failedRestoreNeverCostsTheStoredList_data()
{
    QTest::addColumn<bool>("unreadable"); // a folder in place of the store, rather than a value that is not text
    QTest::addColumn<bool>("changed");
    QTest::newRow("a value that is not text stays when the list is left alone") << false << false;
    QTest::newRow("a value that is not text is copied before a changed list is saved") << false << true;
    QTest::newRow("a store that cannot be read stays when the list is left alone") << true << false;
    QTest::newRow("a store that cannot be read or copied is not replaced") << true << true;
}

void tst_SearchList::failedRestoreNeverCostsTheStoredList()
{
    QFETCH(bool, unreadable);
    QFETCH(bool, changed);
    m_window.reset();
    if (unreadable) {
        QVERIFY(QDir().mkpath(m_test->settingsPath()));
    } else {
        QSettings settings(m_test->settingsPath(), QSettings::IniFormat);
        settings.setValue(QStringLiteral("Searches"), QRect(1, 2, 3, 4));
    }
    start();
    QCOMPARE(m_test->reports.size(), 1);
    QVERIFY(isReportFor(m_test->reports[0], QStringLiteral("Form_Load"), 142));
    if (changed)
        addSearch(QStringLiteral("desk"));
    m_window->close();

    const QString copy = m_test->settingsPath() + QStringLiteral(".unrestored");
    QCOMPARE(QFileInfo::exists(copy), changed && !unreadable);
    QCOMPARE(m_test->reports.size(), changed ? 2 : 1);
    if (changed) // the save says where the old list is, or that nothing was replaced
        QVERIFY(isReportFor(m_test->reports[1], QStringLiteral("Form_QueryUnload"), 100));
    if (unreadable) {
        QVERIFY(QFileInfo(m_test->settingsPath()).isDir());
        return;
    }
    QCOMPARE(QSettings(m_test->settingsPath(), QSettings::IniFormat).value(QStringLiteral("Searches")),
             changed ? QVariant(QStringLiteral("desk site:albany.bazaarly.org|")) : QVariant(QRect(1, 2, 3, 4)));
    if (changed) {
        QVERIFY2(m_test->reports[1].contains(QDir::toNativeSeparators(copy)), qPrintable(m_test->reports[1]));
        QCOMPARE(QSettings(copy, QSettings::IniFormat).value(QStringLiteral("Searches")), QVariant(QRect(1, 2, 3, 4)));
    }
}

QTEST_MAIN(tst_SearchList)
#include "tst_searchlist.moc"
