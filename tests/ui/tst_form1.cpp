// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestEnvironment.h"

#include "app/Main.h"
#include "platform/controls/ListView.h"
#include "platform/controls/PushButton.h"
#include "platform/look/SteadyCursor.h"
#include "ui/Form1.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QStyleHints>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <limits>

// The main window as it comes up: its controls, their places, the order the Tab key visits them, and the
// start-up sequence.
class tst_Form1 : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void windowIsFixedCentredAndTitled();
    void controlsStandWhereTheLayoutPutsThem_data();
    void controlsStandWhereTheLayoutPutsThem();
    void fontsAndColours();
    void listsHaveTheirColumns();
    void lastColumnFillsEachListAndLongTextsKeepTheirEnds();
    void tabVisitsTheControlsInOrder();
    void enterAndEscapeStartNoCommand();
    void aFocusedButtonAnswersEnterAndSpace_data();
    void aFocusedButtonAnswersEnterAndSpace();
    void searchListShowsItsToolTipOverItsItems();
    void homePageOpensOnlyOnADrawOfSeven_data();
    void homePageOpensOnlyOnADrawOfSeven();
    void startUpWithoutDataFilesReportsOnlyTheCatalogue();
    void closingSavesEvenAnEmptyList();
    void anIdleBoxWithAHugeTextIsNotRepainted_data();
    void anIdleBoxWithAHugeTextIsNotRepainted();

private:
    std::unique_ptr<TestEnvironment> m_test;
};

void tst_Form1::init()
{
    m_test = std::make_unique<TestEnvironment>();
    m_test->writeLocations({"http://albany.bazaarly.org/,Albany,New York"});
}

void tst_Form1::cleanup()
{
    m_test.reset();
}

void tst_Form1::windowIsFixedCentredAndTitled()
{
    Form1 window(m_test->environment());
    window.showCentred();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.size(), QSize(536, 652));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QCOMPARE(window.windowTitle(), QStringLiteral("Bazaarly Lookup Across Many Towns Utility"));
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Bazaarly Lookup Across Many Towns"));
    const Qt::WindowFlags flags = window.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    // Centred to the pixel; an even size has no middle pixel, so either neighbour will do.
    QVERIFY((window.geometry().center() - window.screen()->availableGeometry().center()).manhattanLength() <= 2);
    QVERIFY(!window.windowIcon().isNull());
    QVERIFY(window.Text1->hasFocus());
    for (QLineEdit* box : {window.txtSearch, window.Text1}) {
        QCOMPARE(box->text(), QString());
        QCOMPARE(box->maxLength(), std::numeric_limits<int>::max());
    }
}

void tst_Form1::controlsStandWhereTheLayoutPutsThem_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("geometry"); // pixels, from twips at 15 to the pixel
    QTest::newRow("Frame2") << "Frame2"
                            << "Form1"
                            << "Create New Bazaarly Search" << QRect(8, 8, 520, 341);
    QTest::newRow("Frame1") << "Frame1"
                            << "Frame2"
                            << "Search For This Text" << QRect(16, 240, 488, 55);
    QTest::newRow("txtSearch") << "txtSearch"
                               << "Frame1"
                               << "" << QRect(16, 20, 456, 23);
    QTest::newRow("Text1") << "Text1"
                           << "Frame2"
                           << "" << QRect(112, 20, 391, 23);
    QTest::newRow("ListView1") << "ListView1"
                               << "Frame2"
                               << "" << QRect(16, 50, 488, 188);
    QTest::newRow("PushButton7") << "PushButton7"
                                 << "Frame2"
                                 << "Add Search" << QRect(16, 304, 488, 27);
    QTest::newRow("ListView2") << "ListView2"
                               << "Form1"
                               << "" << QRect(8, 356, 520, 188);
    QTest::newRow("PushButton2") << "PushButton2"
                                 << "Form1"
                                 << "Open Selected" << QRect(8, 550, 256, 27);
    QTest::newRow("PushButton6") << "PushButton6"
                                 << "Form1"
                                 << "Open All" << QRect(272, 550, 256, 27);
    QTest::newRow("PushButton3") << "PushButton3"
                                 << "Form1"
                                 << "Clear All" << QRect(272, 584, 256, 27);
    QTest::newRow("PushButton4") << "PushButton4"
                                 << "Form1"
                                 << "Delete Selected Search From List" << QRect(8, 584, 256, 27);
    QTest::newRow("PushButton5") << "PushButton5"
                                 << "Form1"
                                 << "Load Example/Sample Searches" << QRect(8, 618, 520, 27);
}

void tst_Form1::controlsStandWhereTheLayoutPutsThem()
{
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QString, text);
    QFETCH(QRect, geometry);
    Form1 window(m_test->environment());
    auto* control = window.findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget()->objectName(), container);
    QCOMPARE(control->geometry(), geometry);
    QVERIFY(control->parentWidget()->rect().contains(control->geometry()));
    if (auto* frame = qobject_cast<QGroupBox*>(control))
        QCOMPARE(frame->title(), text);
    else if (auto* button = qobject_cast<QPushButton*>(control))
        QCOMPARE(button->text(), text);
}

void tst_Form1::fontsAndColours()
{
    const QFont desktopFont = QGuiApplication::font();
    Form1 window(m_test->environment());
    QCOMPARE(QGuiApplication::font(), desktopFont); // message boxes keep the desktop's font
    QCOMPARE(window.txtSearch->font(), window.font());
    // and follow it when the desktop changes it
    QGuiApplication::setFont(window.font());
    QEvent themeChange(QEvent::ThemeChange);
    QCoreApplication::sendEvent(&window, &themeChange);
    QCOMPARE(QGuiApplication::font(), QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    QCOMPARE(QGuiApplication::font(), desktopFont);
    QCOMPARE(window.font().family(), QStringLiteral("Arial"));
    QCOMPARE(window.font().pointSizeF(), 9.0);
    QCOMPARE(window.font().weight(), QFont::Bold);
    QCOMPARE(window.PushButton5->font().pointSizeF(), 11.25);
    QCOMPARE(window.PushButton5->font().weight(), QFont::Bold);
    QCOMPARE(window.ListView2->font().pointSizeF(), 9.0);
    for (QWidget* white : std::initializer_list<QWidget*>{&window, window.Frame2, window.Frame1})
        QCOMPARE(white->palette().color(QPalette::Window), QColor(Qt::white));
    QCOMPARE(window.PushButton7->palette().color(QPalette::Button), QColor(Qt::white));
    QCOMPARE(window.Label1->text(), QStringLiteral("Filter Locations:"));
    QCOMPARE(window.Label1->parentWidget(), window.Frame2);
    QCOMPARE(window.Label1->pos(), QPoint(16, 22));
    QVERIFY(!window.Label1->autoFillBackground());
    QCOMPARE(window.ListView2->toolTip(), QStringLiteral("Double-click item to open in InterNet Explorer"));
}

void tst_Form1::listsHaveTheirColumns()
{
    Form1 window(m_test->environment());
    const ListModel& locations = window.ListView1->listModel();
    QCOMPARE(locations.columnCount(), 2);
    QCOMPARE(locations.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("URL"));
    QCOMPARE(locations.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Locations"));
    QCOMPARE(window.ListView1->columnWidth(0), 0);
    QCOMPARE(window.ListView1->columnWidth(1), 467);
    QCOMPARE(window.ListView2->listModel().columnCount(), 1);
    QCOMPARE(window.ListView2->listModel().headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral("Searches"));
    QCOMPARE(window.ListView2->columnWidth(0), 467);
}

void tst_Form1::lastColumnFillsEachListAndLongTextsKeepTheirEnds()
{
    Form1 window(m_test->environment());
    window.showCentred();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (const ListView* list : {window.ListView1, window.ListView2}) {
        const QHeaderView* header = list->header();
        const int last = header->count() - 1;
        QCOMPARE(header->sectionViewportPosition(last) + header->sectionSize(last), list->viewport()->width());
        // A query too long for its column keeps its start and its site: town.
        QCOMPARE(list->textElideMode(), Qt::ElideMiddle);
    }
}

void tst_Form1::tabVisitsTheControlsInOrder()
{
    Form1 window(m_test->environment());
    window.showCentred();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const QStringList expected = {"ListView2",   "PushButton2", "PushButton6", "PushButton3", "PushButton4",
                                  "PushButton5", "ListView1",   "txtSearch",   "PushButton7", "Text1"};
    QStringList visited;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.append(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(visited, expected);
}

void tst_Form1::enterAndEscapeStartNoCommand()
{
    Form1 window(m_test->environment());
    window.showCentred();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    // With a text in each box, which a command started by either key would act on.
    for (QLineEdit* box : {window.Text1, window.txtSearch}) {
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("alb"));
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClick(box, Qt::Key_Escape);
    }
    QCOMPARE(window.ListView2->count(), 0);
    QCOMPARE(m_test->reports, QStringList());
    for (QPushButton* button : window.findChildren<QPushButton*>())
        QVERIFY2(!button->isDefault() && !button->autoDefault(), qPrintable(button->objectName()));
}

void tst_Form1::aFocusedButtonAnswersEnterAndSpace_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers();
    QTest::newRow("the keypad's Enter") << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier);
    QTest::newRow("Space") << int(Qt::Key_Space) << Qt::KeyboardModifiers();
}

void tst_Form1::aFocusedButtonAnswersEnterAndSpace()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    Form1 window(m_test->environment());
    window.showCentred();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.PushButton5->setFocus();
    QTest::keyClick(window.PushButton5, Qt::Key(key), modifiers);
    QTest::keyClick(window.PushButton5, Qt::Key(key), modifiers);
    QCOMPARE(window.ListView2->count(), 2);
    QCOMPARE(m_test->reports, QStringList());
}

void tst_Form1::searchListShowsItsToolTipOverItsItems()
{
    m_test->storeValue(QStringLiteral("lawnmower site:albany.bazaarly.org|"));
    Form1 window(m_test->environment());
    window.showCentred();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QWidget* viewport = window.ListView2->viewport();
    const QPoint overItem = window.ListView2->visualRect(window.ListView2->listModel().index(0, 0)).center();
    QHelpEvent help(QEvent::ToolTip, overItem, viewport->mapToGlobal(overItem));
    QApplication::sendEvent(viewport, &help);
    QTRY_COMPARE(QToolTip::text(), QStringLiteral("Double-click item to open in InterNet Explorer"));
}

void tst_Form1::homePageOpensOnlyOnADrawOfSeven_data()
{
    QTest::addColumn<int>("draw");
    QTest::addColumn<int>("opened");
    QTest::newRow("a draw of 7 opens the home page") << 7 << 1;
    QTest::newRow("a draw of 1 does not") << 1 << 0;
    QTest::newRow("a draw of 100 does not") << 100 << 0;
    QTest::newRow("a home page the desktop cannot open is reported") << 7 << -1;
}

void tst_Form1::homePageOpensOnlyOnADrawOfSeven()
{
    QFETCH(int, draw);
    QFETCH(int, opened);
    m_test->homePageDraw = draw;
    Environment environment = m_test->environment();
    if (opened < 0) { // the desktop answers after the start-up, and says no
        environment.openUrl = [](const QUrl&, QObject& owner, const OpeningDone& done) {
            QTimer::singleShot(0, &owner, [done] { done(OpeningFailure{QStringLiteral("no opener"), true}); });
        };
    }
    Form1 window(environment);
    if (opened < 0) {
        QCOMPARE(m_test->reports, QStringList());
        QTRY_COMPARE(m_test->reports.size(), 1);
        QVERIFY(isReportFor(m_test->reports[0], QStringLiteral("Form_Load"), 108));
        return;
    }
    QCOMPARE(m_test->openedUrls.size(), opened);
    if (opened)
        QCOMPARE(m_test->openedUrls[0], Main::homePageAddress(environment.applicationFolder));
}

void tst_Form1::startUpWithoutDataFilesReportsOnlyTheCatalogue()
{
    m_test->removeDataFile(QStringLiteral("list.txt"));
    Form1 window(m_test->environment());
    QCOMPARE(m_test->reports.size(), 1);
    QVERIFY(isReportFor(m_test->reports[0], QStringLiteral("Form_Load"), 136));
    QVERIFY(!window.mouseIcon());
    QCOMPARE(window.windowTitle(), QStringLiteral("Bazaarly Lookup Across Many Towns Utility"));
}

void tst_Form1::closingSavesEvenAnEmptyList()
{
    m_test->storeValue(QStringLiteral("old site:x|"));
    {
        Form1 window(m_test->environment());
        window.ListView2->listModel().clear();
        window.showCentred();
        QVERIFY(window.close());
    }
    QCOMPARE(m_test->storedValue(), QString());
}

// Counts the paints of the widget it watches.
class PaintCounter final : public QObject
{
public:
    explicit PaintCounter(int& paints) : m_paints(paints) {}
    bool eventFilter(QObject*, QEvent* event) override
    {
        m_paints += event->type() == QEvent::Paint;
        return false;
    }

private:
    int& m_paints;
};

void tst_Form1::anIdleBoxWithAHugeTextIsNotRepainted_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("blinks");
    const int longest = int(SteadyCursorForLongText::kLongestBlinkingText);
    QTest::newRow("the longest filter text that blinks") << "Text1" << longest << true;
    QTest::newRow("a character more in the filter box") << "Text1" << longest + 1 << false;
    QTest::newRow("a character more in the search box") << "txtSearch" << longest + 1 << false;
}

// Qt lays out a box's whole text each time its blinking cursor repaints it; a huge text kept a processor busy.
void tst_Form1::anIdleBoxWithAHugeTextIsNotRepainted()
{
    QFETCH(QString, box);
    QFETCH(int, length);
    QFETCH(bool, blinks);
    // A desktop whose cursor blinks five times a second, so that a fraction of a second shows whether it blinks.
    const int startingFlashTime = QGuiApplication::styleHints()->cursorFlashTime();
    const auto flashTimeGoesBack =
        qScopeGuard([startingFlashTime] { QGuiApplication::styleHints()->setCursorFlashTime(startingFlashTime); });
    QGuiApplication::styleHints()->setCursorFlashTime(200);
    const int desktopFlashTime = QGuiApplication::styleHints()->cursorFlashTime();
    {
        Form1 window(m_test->environment());
        window.showCentred();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* edit = window.findChild<QLineEdit*>(box);
        edit->setFocus();
        edit->setText(QString(length, QLatin1Char('w')));
        QTest::qWait(100);
        int paints = 0;
        PaintCounter counter(paints);
        edit->installEventFilter(&counter);
        QTest::qWait(300);
        QCOMPARE(paints > 0, blinks);
        edit->clear();
        QCOMPARE(QGuiApplication::styleHints()->cursorFlashTime(), desktopFlashTime);
        edit->setText(QString(length, QLatin1Char('w')));
    }
    QCOMPARE(QGuiApplication::styleHints()->cursorFlashTime(), desktopFlashTime); // the window gives it back
}

QTEST_MAIN(tst_Form1)
#include "tst_form1.moc"
