// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestEnvironment.h"

#include "catalogue/LocationCatalogue.h"
#include "platform/base/Failure.h"
#include "platform/controls/ListView.h"
#include "ui/Form1.h"

#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include <csignal>

#if defined(__SANITIZE_ADDRESS__)
#define UNDER_ADDRESS_SANITIZER
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define UNDER_ADDRESS_SANITIZER
#endif
#endif

#if defined(Q_OS_UNIX)
#include <sys/wait.h>
#include <unistd.h>
#endif

// The location list: the catalogue's rules on a list model of their own, with the real file reader on temporary
// files, and, where the window's own part is tested, as the user meets it in the real window.
class tst_LocationCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void startUpLoadsEveryLine_data();
    void startUpLoadsEveryLine();
    void badLineStopsTheLoad_data();
    void badLineStopsTheLoad();
    void missingFileAtStartUp();
    void missingFileOnWindowsSaysToExtractTheZip_data();
    void missingFileOnWindowsSaysToExtractTheZip();
    void folderNamedLikeTheListIsReported();
    void windowsLineBreaksLoadAlike();
    void filterMatchesTheDisplayName_data();
    void filterMatchesTheDisplayName();
    void emptyDisplayNameIsGoneAfterTheFirstFilterChange();
    void fileDeletedWhileRunningLeavesTheListUntouched();
    void badLineDuringFilterKeepsWhatWasAdded();
    void filterSelectsTheFirstLocationLeft();
    void keysTypedDuringARebuildAreTakenTogether_data();
    void keysTypedDuringARebuildAreTakenTogether();
    void hostileFilesNeverCrash_data();
    void hostileFilesNeverCrash();
    void hugeFileLoadsWhole();
    void catalogueBeyondTheMemoryShowsTheRowsThatFit();
};

using Items = QList<QStringList>;

static Items itemsOf(const ListModel& list)
{
    Items items;
    for (qsizetype row = 0; row < list.size(); ++row)
        items.append({list.text(row), list.subItem1View(row).toString()});
    return items;
}

static Items itemsOf(const ListView& list)
{
    return itemsOf(list.listModel());
}

static QStringList urlsOf(const ListModel& list)
{
    QStringList urls;
    for (qsizetype row = 0; row < list.size(); ++row)
        urls.append(list.text(row));
    return urls;
}

// The description of the Failure that a rule of the catalogue ended with; empty when it went through.
template <typename Rule> static QString failureOf(Rule rule)
{
    try {
        rule();
        return {};
    } catch (const Failure& failure) {
        return failure.description();
    }
}

// The catalogue file of a test, and the list its rules fill.
struct Catalogue
{
    QString path() const { return test.dataFilePath(kLocationListFile); }
    QString load()
    {
        return failureOf([this] { loadLocations(path(), list); });
    }
    QString filter(const QString& text)
    {
        return failureOf([&] { rebuild.rebuild(path(), text, list); });
    }

    TestEnvironment test;
    ListModel list;
    LocationFilterRebuild rebuild;
};

void tst_LocationCatalogue::startUpLoadsEveryLine_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<Items>("items");
    QTest::newRow("three fields") << QStringList{"http://albany.bazaarly.org/,Albany,New York"}
                                  << Items{{"http://albany.bazaarly.org/", "Albany, New York"}};
    QTest::newRow("file order and duplicates kept")
        << QStringList{"http://b/,B,", "http://a/,A,", "http://b/,B,"}
        << Items{{"http://b/", "B"}, {"http://a/", "A"}, {"http://b/", "B"}};
    QTest::newRow("blank after the comma, four fields, empty display name")
        << QStringList{"u1,N, R", "u2,N,R,X", "u3,,"} << Items{{"u1", "N,  R"}, {"u2", "N, R"}, {"u3", ""}};
}

void tst_LocationCatalogue::startUpLoadsEveryLine()
{
    QFETCH(QStringList, lines);
    QFETCH(Items, items);
    Catalogue catalogue;
    catalogue.test.writeLocations(lines);
    QCOMPARE(catalogue.load(), QString());
    QCOMPARE(itemsOf(catalogue.list), items);
}

void tst_LocationCatalogue::badLineStopsTheLoad_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("a line with one comma") << QStringList{"u1,A,", "u2,B,", "u3,short", "u4,D,"};
    QTest::newRow("an empty line") << QStringList{"u1,A,", "u2,B,", "", "u4,D,"};
}

void tst_LocationCatalogue::badLineStopsTheLoad()
{
    QFETCH(QStringList, lines);
    Catalogue catalogue;
    catalogue.test.writeLocations(lines);
    QVERIFY(!catalogue.load().isEmpty());
    QCOMPARE(itemsOf(catalogue.list), (Items{{"u1", "A"}, {"u2", "B"}}));
}

void tst_LocationCatalogue::missingFileAtStartUp()
{
    TestEnvironment test;
    test.storeValue(QStringLiteral("chair site:x|"));
    Form1 window(test.environment());
    QCOMPARE(test.reports.size(), 1);
    QVERIFY(isReportFor(test.reports[0], QStringLiteral("Form_Load"), 136));
    // On Windows the report opens with what to do about a zip whose files were not extracted.
    const QString firstLine = test.reports[0].section(QStringLiteral("\r\n"), 0, 0);
#ifdef Q_OS_WIN
    QVERIFY2(firstLine.contains(QStringLiteral("extract all the files of the zip first")), qPrintable(firstLine));
#else
    QVERIFY(firstLine.startsWith(QStringLiteral("The file \"")));
#endif
    QCOMPARE(window.ListView1->count(), 0);
    QCOMPARE(window.ListView1->listModel().columnCount(), 2);
    QCOMPARE(window.ListView2->listModel().columnCount(), 1);
    QCOMPARE(window.ListView2->itemText(1), QStringLiteral("chair site:x"));
}

void tst_LocationCatalogue::missingFileOnWindowsSaysToExtractTheZip_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("onWindows");
    QTest::addColumn<QString>("advice");
    const QString insideTheZip = QStringLiteral("BazaarlySearch was started from inside its zip");
    QTest::newRow("Explorer's folder for a program opened in a zip")
        << "C:\\Users\\ann\\AppData\\Local\\Temp\\Temp1_bazaarly-search-1.0.0-win64.zip\\bazaarly-search-1.0.0-win64"
        << true << insideTheZip;
    QTest::newRow("7-Zip's folder") << "C:/Users/ann/AppData/Local/Temp/7zO0A1B2C3D" << true << insideTheZip;
    QTest::newRow("another tool's NAME.zip.XXXX folder")
        << "C:/Users/ann/AppData/Local/Temp/bazaarly-search-1.0.0-win64.zip.4f2" << true << insideTheZip;
    QTest::newRow("any other Windows folder")
        << "D:/Tools/BazaarlySearch" << true << QStringLiteral("If BazaarlySearch came as a zip");
    QTest::newRow("Linux keeps the plain report") << "/tmp/Temp1_bazaarly.zip" << false << QString();
}

void tst_LocationCatalogue::missingFileOnWindowsSaysToExtractTheZip()
{
    QFETCH(QString, folder);
    QFETCH(bool, onWindows);
    QFETCH(QString, advice);
    const QString said = missingCatalogueAdvice(folder, onWindows);
    QVERIFY2(said.startsWith(advice), qPrintable(said));
    QCOMPARE(said.contains(QStringLiteral("extract all the files of the zip first")), !advice.isEmpty());
    QVERIFY(!said.contains(QLatin1Char('\n')));
}

void tst_LocationCatalogue::folderNamedLikeTheListIsReported()
{
    Catalogue catalogue;
    QVERIFY(QDir().mkpath(catalogue.path()));
    const QString failure = catalogue.load();
    QVERIFY2(failure.contains(QStringLiteral("is not a file")), qPrintable(failure));
    QCOMPARE(catalogue.list.size(), 0);
}

void tst_LocationCatalogue::windowsLineBreaksLoadAlike()
{
    Catalogue catalogue;
    catalogue.test.writeDataFile(kLocationListFile, "u1,Albany,New York\r\nu2,Boston,\r\n");
    QCOMPARE(catalogue.load(), QString());
    QCOMPARE(itemsOf(catalogue.list), (Items{{"u1", "Albany, New York"}, {"u2", "Boston"}}));
}

void tst_LocationCatalogue::filterMatchesTheDisplayName_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("urls");
    QTest::newRow("letter case is ignored") << "aLB" << QStringList{"http://albany.x/", "http://albuquerque.x/"};
    QTest::newRow("in the region alone") << "OHIO" << QStringList{"http://region.x/"};
    QTest::newRow("across the comma joint") << "y, new" << QStringList{"http://albany.x/"};
    QTest::newRow("comma and blank match every region")
        << ", " << QStringList{"http://albany.x/", "http://albuquerque.x/", "http://region.x/"};
    QTest::newRow("a blank and the region's start") << " new m" << QStringList{"http://albuquerque.x/"};
    QTest::newRow("the name's end and the comma") << "ny," << QStringList{"http://albany.x/"};
    QTest::newRow("a leading blank counts") << " york" << QStringList{"http://albany.x/"};
    QTest::newRow("a trailing blank counts") << "albany " << QStringList{};
    QTest::newRow("text found only in a URL matches nothing") << "bazaarly" << QStringList{};
    QTest::newRow("an empty filter lists all but the nameless")
        << "" << QStringList{"http://albany.x/", "http://albuquerque.x/", "http://boston.x/", "http://region.x/"};
}

void tst_LocationCatalogue::filterMatchesTheDisplayName()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, urls);
    Catalogue catalogue;
    catalogue.test.writeLocations({"http://albany.x/,Albany,New York", "http://albuquerque.x/,Albuquerque,New Mexico",
                                   "http://boston.x/,Boston,", "http://bazaarly.x/,,", "http://region.x/,,Ohio"});
    QCOMPARE(catalogue.load(), QString());
    QCOMPARE(catalogue.filter(filter), QString());
    QCOMPARE(urlsOf(catalogue.list), urls);
}

void tst_LocationCatalogue::emptyDisplayNameIsGoneAfterTheFirstFilterChange()
{
    Catalogue catalogue;
    catalogue.test.writeLocations({"u1,A,", "u2,,", "u3,C,"});
    QCOMPARE(catalogue.load(), QString());
    QCOMPARE(catalogue.list.size(), 3);
    QCOMPARE(catalogue.filter(QStringLiteral("x")), QString());
    QCOMPARE(catalogue.filter(QString()), QString());
    QCOMPARE(itemsOf(catalogue.list), (Items{{"u1", "A"}, {"u3", "C"}}));
}

void tst_LocationCatalogue::fileDeletedWhileRunningLeavesTheListUntouched()
{
    TestEnvironment test;
    test.writeLocations({"u1,Albany,", "u2,Boston,"});
    Form1 window(test.environment());
    test.removeDataFile(QStringLiteral("list.txt"));
    QTest::keyClicks(window.Text1, QStringLiteral("bos"));
    letTheFilterCatchUp(window);
    QCOMPARE(window.ListView1->count(), 2);
    QCOMPARE(test.reports.size(), 0);     // the box waits for the typing to stop, so it takes none of the keys
    QTRY_COMPARE(test.reports.size(), 1); // once, not once a key
    QVERIFY(isReportFor(test.reports[0], QStringLiteral("Text1_Change"), 100));
    QCOMPARE(window.Text1->text(), QStringLiteral("bos"));
    test.writeLocations({"u1,Albany,", "u2,Boston,"});
    QTest::keyClicks(window.Text1, QStringLiteral("t"));
    letTheFilterCatchUp(window);
    QCOMPARE(itemsOf(*window.ListView1), (Items{{"u2", "Boston"}}));
    test.removeDataFile(QStringLiteral("list.txt"));
    QTest::keyClick(window.Text1, Qt::Key_Backspace);
    QTRY_COMPARE(test.reports.size(), 2); // gone again after it was found
}

void tst_LocationCatalogue::badLineDuringFilterKeepsWhatWasAdded()
{
    Catalogue catalogue;
    catalogue.test.writeLocations({"u1,Albany,", "u2,Boston,"});
    QCOMPARE(catalogue.load(), QString());
    catalogue.test.writeLocations({"u1,Albany,", "u2,Alba,", "broken", "u4,Albion,"});
    QVERIFY(!catalogue.filter(QStringLiteral("alb")).isEmpty());
    QCOMPARE(itemsOf(catalogue.list), (Items{{"u1", "Albany"}, {"u2", "Alba"}}));
    QVERIFY(!catalogue.filter(QStringLiteral("alba")).isEmpty()); // each rebuild fails, not just the first
}

void tst_LocationCatalogue::filterSelectsTheFirstLocationLeft()
{
    TestEnvironment test;
    test.writeLocations({"u1,Boston,", "u2,Albany,", "u3,Alban,"});
    Form1 window(test.environment());
    QCOMPARE(window.ListView1->itemText(window.ListView1->selectedPosition()), QStringLiteral("u1"));
    window.ListView1->selectionModel()->select(window.ListView1->listModel().index(2, 0),
                                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QTest::keyClicks(window.Text1, QStringLiteral("alb"));
    letTheFilterCatchUp(window);
    QCOMPARE(window.ListView1->count(), 2);
    QCOMPARE(window.ListView1->itemText(window.ListView1->selectedPosition()), QStringLiteral("u2"));
    QTest::keyClicks(window.Text1, QStringLiteral("x"));
    letTheFilterCatchUp(window);
    QCOMPARE(window.ListView1->count(), 0);
    QVERIFY(window.ListView1->selectionModel()->selectedRows().isEmpty());
}

void tst_LocationCatalogue::keysTypedDuringARebuildAreTakenTogether_data()
{
    QTest::addColumn<QString>("typed"); // a backspace stands for the Backspace key
    QTest::addColumn<QString>("finalText");
    QTest::newRow("a word") << "own 12"
                            << "own 12";
    QTest::newRow("a word typed and erased again") << "town\b\b\b\b"
                                                   << "";
    QTest::newRow("two thousand keys") << QStringLiteral("x\b").repeated(1000) + QStringLiteral("OWN 12") << "OWN 12";
}

void tst_LocationCatalogue::keysTypedDuringARebuildAreTakenTogether()
{
    QFETCH(QString, typed);
    QFETCH(QString, finalText);
    constexpr int kLocations = 20'000;
    QStringList lines;
    QStringList expected;
    for (int i = 0; i < kLocations; ++i) {
        lines.append(QStringLiteral("u%1,Town %1,Region").arg(i));
        if (QStringLiteral("Town %1, Region").arg(i).contains(finalText, Qt::CaseInsensitive))
            expected.append(QStringLiteral("u%1").arg(i));
    }
    TestEnvironment test;
    test.writeLocations(lines);
    Form1 window(test.environment());
    int rebuilds = 0;
    connect(&window.ListView1->listModel(), &QAbstractItemModel::modelReset, this, [&] { ++rebuilds; });
    // The keys wait in the event queue together, as keys typed while the window was busy do.
    for (const QChar key : std::as_const(typed)) {
        const bool erase = key == QLatin1Char('\b');
        QCoreApplication::postEvent(window.Text1, new QKeyEvent(QEvent::KeyPress, erase ? Qt::Key_Backspace : Qt::Key_A,
                                                                Qt::NoModifier, erase ? QString() : QString(key)));
    }
    letTheFilterCatchUp(window);
    QCOMPARE(window.Text1->text(), finalText); // no key lost
    QCOMPARE(rebuilds, 1);
    QStringList listed;
    for (qsizetype position = 1; position <= window.ListView1->count(); ++position)
        listed.append(window.ListView1->itemText(position));
    QCOMPARE(listed, expected);
    QCOMPARE(test.reports, QStringList());
}

void tst_LocationCatalogue::hostileFilesNeverCrash_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<int>("items");
    QTest::addColumn<bool>("reported");
    QByteArray binary(4096, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char((i * 37 + 11) % 256);
    QTest::newRow("an empty file lists nothing") << QByteArray() << 0 << false;
    QTest::newRow("binary bytes stop at the first short line") << binary << 0 << true;
    QTest::newRow("a line of a million characters") << "u," + QByteArray(1000000, 'n') + ",r\nu2,N,R\n" << 2 << false;
    QTest::newRow("a million characters without a comma") << QByteArray(1000000, 'x') << 0 << true;
    QTest::newRow("a byte-order mark") << QByteArray("\xEF\xBB\xBFu1,A,\nu2,B,\n") << 2 << false;
    QTest::newRow("invalid bytes for the locale") << QByteArray("u1,\xC3\x28\xFF,\xFE\n") << 1 << false;
    QTest::newRow("blank lines at the end") << QByteArray("u1,A,\n\n\n") << 1 << true;
    QTest::newRow("NUL bytes inside a line") << QByteArray("u1,A\0B,\0\n", 9) << 1 << false;
}

void tst_LocationCatalogue::hostileFilesNeverCrash()
{
    QFETCH(QByteArray, contents);
    QFETCH(int, items);
    QFETCH(bool, reported);
    Catalogue catalogue;
    catalogue.test.writeDataFile(kLocationListFile, contents);
    QCOMPARE(!catalogue.load().isEmpty(), reported);
    QCOMPARE(catalogue.list.size(), items);
    QCOMPARE(!catalogue.filter(QStringLiteral("a")).isEmpty(), reported);
}

// A catalogue of that many towns, about 52 bytes a line.
static QByteArray townLines(int lines)
{
    QByteArray contents;
    contents.reserve(qsizetype(lines) * 52);
    for (int i = 0; i < lines; ++i)
        contents +=
            "http://town" + QByteArray::number(i) + ".bazaarly.org/,Town " + QByteArray::number(i) + ",Region\n";
    return contents;
}

void tst_LocationCatalogue::hugeFileLoadsWhole()
{
    // About 100 MB of locations.
    constexpr int kLines = 2'000'000;
    QByteArray contents = townLines(kLines);
    QVERIFY(contents.size() > 100'000'000);
    Catalogue catalogue;
    catalogue.test.writeDataFile(kLocationListFile, contents);
    contents.clear();
    QCOMPARE(catalogue.load(), QString());
    QCOMPARE(catalogue.list.size(), kLines);
    QCOMPARE(catalogue.filter(QStringLiteral("n 1999999")), QString());
    QCOMPARE(urlsOf(catalogue.list), QStringList{"http://town1999999.bazaarly.org/"});
}

#if defined(Q_OS_UNIX) && !defined(UNDER_ADDRESS_SANITIZER)
// What a window started with `room` bytes of address space to spare shows: its rows, its reports and whether the
// first report is the catalogue's.
static void showWithLittleMemory(TestEnvironment& test, qint64 room, int seen[3])
{
    const AddressSpaceLimit limit(room);
    Form1 window(test.environment());
    window.showCentred();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    seen[0] = int(window.ListView1->count());
    seen[1] = int(test.reports.size());
    seen[2] = !test.reports.isEmpty() && isReportFor(test.reports[0], QStringLiteral("Form_Load"), 136);
}

// The rows that window shows, started in a child process whose crash the parent sees; -1 when the child did not
// live to say, or when it cut the list short without exactly one report of the catalogue.
static int rowsShownWithLittleMemory(TestEnvironment& test, qint64 room, int lines)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        // A crash ends the child at once, without the test framework's crash report.
        for (const int signal : {SIGSEGV, SIGBUS, SIGABRT, SIGILL, SIGFPE})
            std::signal(signal, SIG_DFL);
        int seen[3] = {-1, -1, 0};
        showWithLittleMemory(test, room, seen);
        ::_exit(::write(channel[1], seen, sizeof seen) == sizeof seen ? 0 : 1);
    }
    ::close(channel[1]);
    int seen[3] = {};
    const ssize_t received = ::read(channel[0], seen, sizeof seen);
    ::close(channel[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
        received != sizeof seen)
        return -1;
    qInfo("with %lld bytes to spare, %d of the %d rows fit", room, seen[0], lines);
    const bool whole = seen[0] == lines && seen[1] == 0;
    const bool cutShortWithOneReport = seen[0] > 0 && seen[0] < lines && seen[1] == 1 && seen[2];
    return whole || cutShortWithOneReport ? seen[0] : -1;
}
#endif

// The list keeps back the memory its view needs to lay out the rows: a catalogue too large for the memory loses
// its last rows with one report, where the view would otherwise run out of memory and end the program.
void tst_LocationCatalogue::catalogueBeyondTheMemoryShowsTheRowsThatFit()
{
#if !defined(Q_OS_UNIX)
    QSKIP("The address space is limited here on Unix only.");
#elif defined(UNDER_ADDRESS_SANITIZER)
    QSKIP("AddressSanitizer maps memory of its own for every allocation and ends the program when it cannot.");
#else
    constexpr int kLines = 1'000'000;
    TestEnvironment test;
    test.writeDataFile(QStringLiteral("list.txt"), townLines(kLines));
    // How much the window takes beyond the list depends on the machine's fonts and libraries: at each of these
    // margins the program must live, and at one at least the list must be cut short.
    bool cutShort = false;
    for (const qint64 room : {150'000'000LL, 200'000'000LL, 250'000'000LL}) {
        const int rows = rowsShownWithLittleMemory(test, room, kLines);
        QVERIFY2(rows > 0, qPrintable(QStringLiteral("with %1 bytes to spare").arg(room)));
        cutShort = cutShort || rows < kLines;
    }
    QVERIFY(cutShort);
#endif
}

QTEST_MAIN(tst_LocationCatalogue)
#include "tst_locationcatalogue.moc"
