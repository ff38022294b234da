// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestEnvironment.h"

#include "app/ProgramNames.h"
#include "platform/controls/ListView.h"
#include "platform/controls/PushButton.h"
#include "platform/desktop/ErrorReportBox.h"
#include "ui/Form1.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

namespace {

// One event the program sent a screen reader: the control it came from, and for an item the list it is in.
struct Heard
{
    QString control;
    QAccessible::Event type;
    QString name;
    QString description;
};

QList<Heard> heard;

void record(QAccessibleEvent* event)
{
    QAccessibleInterface* about = event->accessibleInterface();
    QAccessibleInterface* holder = about;
    while (holder != nullptr && holder->object() == nullptr)
        holder = holder->parent();
    heard.append({holder != nullptr ? holder->object()->objectName() : QString(), event->type(),
                  about != nullptr ? about->text(QAccessible::Name) : QString(),
                  about != nullptr ? about->text(QAccessible::Description) : QString()});
}

QList<Heard> heardOf(QAccessible::Event type)
{
    QList<Heard> found;
    for (const Heard& event : std::as_const(heard)) {
        if (event.type == type)
            found.append(event);
    }
    return found;
}

void showAndActivate(Form1& window)
{
    window.showCentred();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

} // namespace

// What a screen reader hears: each control's role and name, each row of the lists, and what the program tells it
// as the user works.
class tst_Accessibility : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void everyControlIsNamedAsItReads_data();
    void everyControlIsNamedAsItReads();
    void filterBoxIsLabelledByItsLabel();
    void rowsAreHeardByTheirVisibleText_data();
    void rowsAreHeardByTheirVisibleText();
    void otherWindowsKeepTheirOwnRoles();
    void typingInTheFilterMovesNoFocusAndTellsTheMatches();
    void listThatGetsTheFocusSaysItsItemAndPosition_data();
    void listThatGetsTheFocusSaysItsItemAndPosition();
    void commandsSayWhatTheyChanged_data();
    void commandsSayWhatTheyChanged();
    void selectingSeveralLocationsSaysHowMany_data();
    void selectingSeveralLocationsSaysHowMany();
    void errorReportIsReadWithoutItsInvisibleBreaks();

private:
    void startListening() const;

    std::unique_ptr<TestEnvironment> m_test;
    bool m_listening = false;
};

void tst_Accessibility::startListening() const
{
    if (!m_listening)
        QSKIP("Qt's accessibility cannot be switched on in this build.");
    QAccessible::installUpdateHandler(record);
}

void tst_Accessibility::initTestCase()
{
    m_listening = listenAsAScreenReader();
}

void tst_Accessibility::init()
{
    m_test = std::make_unique<TestEnvironment>();
    m_test->writeLocations({"http://albany.bazaarly.org/,Albany,New York", "http://akron.bazaarly.org/,Akron,Ohio"});
    m_test->storeValue(QStringLiteral("lawnmower site:albany.bazaarly.org|"));
}

void tst_Accessibility::cleanup()
{
    QAccessible::installUpdateHandler(nullptr);
    heard.clear();
    m_test.reset();
}

void tst_Accessibility::everyControlIsNamedAsItReads_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QAccessible::Role>("role");
    QTest::addColumn<QString>("name");
    QTest::newRow("the window is a frame with the program's title")
        << "Form1" << QAccessible::Window << "Bazaarly Lookup Across Many Towns Utility";
    QTest::newRow("the filter box is named by its label") << "Text1" << QAccessible::EditableText << "Filter Locations";
    QTest::newRow("the search box is named by its group box")
        << "txtSearch" << QAccessible::EditableText << "Search For This Text";
    QTest::newRow("the location list is Locations") << "ListView1" << QAccessible::Tree << "Locations";
    QTest::newRow("the search list is Searches") << "ListView2" << QAccessible::Tree << "Searches";
    QTest::newRow("the inner group box is its own title, not the outer one's")
        << "Frame1" << QAccessible::Grouping << "Search For This Text";
}

void tst_Accessibility::everyControlIsNamedAsItReads()
{
    QFETCH(QString, control);
    QFETCH(QAccessible::Role, role);
    QFETCH(QString, name);
    Form1 window(m_test->environment());
    QObject* object = control == window.objectName() ? &window : window.findChild<QObject*>(control);
    QVERIFY(object);
    QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(object);
    QVERIFY(heard);
    QCOMPARE(heard->role(), role);
    QCOMPARE(heard->text(QAccessible::Name), name);
}

void tst_Accessibility::filterBoxIsLabelledByItsLabel()
{
    Form1 window(m_test->environment());
    QAccessibleInterface* filter = QAccessible::queryAccessibleInterface(window.Text1);
    QList<QObject*> labels;
    for (const auto& [label, relation] : filter->relations(QAccessible::Label))
        labels.append(label->object());
    QVERIFY(labels.contains(window.Label1));
}

void tst_Accessibility::rowsAreHeardByTheirVisibleText_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("a location is heard by its name, never its address")
        << "ListView1" << QStringList{"Albany, New York", "Akron, Ohio"};
    QTest::newRow("a search is heard by its query") << "ListView2" << QStringList{"lawnmower site:albany.bazaarly.org"};
}

void tst_Accessibility::rowsAreHeardByTheirVisibleText()
{
    QFETCH(QString, list);
    QFETCH(QStringList, rows);
    Form1 window(m_test->environment());
    window.showCentred(); // a tree view counts its rows once it has laid them out
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QAccessibleTableInterface* table =
        QAccessible::queryAccessibleInterface(window.findChild<ListView*>(list))->tableInterface();
    QVERIFY(table);
    QCOMPARE(table->rowCount(), rows.size());
    for (int row = 0; row < table->rowCount(); ++row) {
        // Every cell of the row, the one that the location list shrinks out of sight too.
        for (int column = 0; column < table->columnCount(); ++column)
            QCOMPARE(table->cellAt(row, column)->text(QAccessible::Name), rows[row]);
    }
}

void tst_Accessibility::otherWindowsKeepTheirOwnRoles()
{
    Form1 window(m_test->environment());
    QMessageBox box;
    QCOMPARE(QAccessible::queryAccessibleInterface(&box)->role(), QAccessible::AlertMessage);
    QWidget child(&window);
    QCOMPARE(QAccessible::queryAccessibleInterface(&child)->role(), QAccessible::Client);
}

void tst_Accessibility::typingInTheFilterMovesNoFocusAndTellsTheMatches()
{
    Form1 window(m_test->environment());
    showAndActivate(window);
    startListening();
    QTest::keyClicks(window.Text1, QStringLiteral("a"));
    QTest::keyClicks(window.Text1, QStringLiteral("k"));
    QTRY_COMPARE(window.ListView1->count(), 1);
    for (const Heard& focus : heardOf(QAccessible::Focus))
        QCOMPARE(focus.control, QStringLiteral("Text1"));
    QTRY_VERIFY(!heardOf(QAccessible::ObjectShow).isEmpty());
    QCOMPARE(heardOf(QAccessible::ObjectShow).last().name, QStringLiteral("1 location listed"));
    QCOMPARE(window.Text1->accessibleDescription(), QStringLiteral("1 location listed"));
}

void tst_Accessibility::listThatGetsTheFocusSaysItsItemAndPosition_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("position");
    QTest::newRow("the location list says the chosen town and where it stands") << "ListView1" << 2 << "Akron, Ohio"
                                                                                << "2 of 2";
    QTest::newRow("the search list says its query") << "ListView2" << 1 << "lawnmower site:albany.bazaarly.org"
                                                    << "1 of 1";
}

void tst_Accessibility::listThatGetsTheFocusSaysItsItemAndPosition()
{
    QFETCH(QString, list);
    QFETCH(int, selected);
    QFETCH(QString, name);
    QFETCH(QString, position);
    Form1 window(m_test->environment());
    showAndActivate(window);
    auto* view = window.findChild<ListView*>(list);
    view->setCurrentIndex(view->listModel().index(selected - 1, 0));
    startListening();
    view->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(!heardOf(QAccessible::Focus).isEmpty());
    // The last word is the selected item's, after the list's own.
    QTRY_COMPARE(heardOf(QAccessible::Focus).last().name, name);
    const Heard focus = heardOf(QAccessible::Focus).last();
    QCOMPARE(focus.control, list);
    QCOMPARE(focus.name, name);
    QCOMPARE(focus.description, position);
}

void tst_Accessibility::commandsSayWhatTheyChanged_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("said");
    QTest::newRow("Add Search says the query and the count")
        << "PushButton7"
        << "Search added: bike site:albany.bazaarly.org. 3 searches in the list.";
    QTest::newRow("Delete says one search went") << "PushButton4"
                                                 << "1 search deleted. 1 search in the list.";
    QTest::newRow("Clear All says the list is empty") << "PushButton3"
                                                      << "Search list cleared.";
}

void tst_Accessibility::commandsSayWhatTheyChanged()
{
    QFETCH(QString, button);
    QFETCH(QString, said);
    m_test->storeValue(QStringLiteral("lawnmower site:albany.bazaarly.org|mower site:akron.bazaarly.org|"));
    Form1 window(m_test->environment());
    showAndActivate(window);
    window.txtSearch->setText(QStringLiteral("bike"));
    auto* command = window.findChild<PushButton*>(button);
    command->setFocus(Qt::TabFocusReason);
    startListening();
    command->click();
    // A notification appears, which a screen reader reads out as it does.
    QTRY_VERIFY(!heardOf(QAccessible::ObjectShow).isEmpty());
    QCOMPARE(heardOf(QAccessible::ObjectShow).size(), 1);
    const QString announcer = heardOf(QAccessible::ObjectShow).last().control;
    QAccessibleInterface* shown = QAccessible::queryAccessibleInterface(window.findChild<QWidget*>(announcer));
    QCOMPARE(shown->role(), QAccessible::Notification);
    QCOMPARE(shown->text(QAccessible::Name), said);
}

void tst_Accessibility::selectingSeveralLocationsSaysHowMany_data()
{
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("said");
    QTest::newRow("Shift+Down says two") << QKeySequence(Qt::SHIFT | Qt::Key_Down) << 2
                                         << QStringList{"2 locations selected"};
    QTest::newRow("Ctrl+A says them all")
        << QKeySequence(Qt::CTRL | Qt::Key_A) << 3 << QStringList{"3 locations selected"};
    QTest::newRow("a plain move says no count") << QKeySequence(Qt::Key_Down) << 1 << QStringList{};
}

void tst_Accessibility::selectingSeveralLocationsSaysHowMany()
{
    QFETCH(QKeySequence, keys);
    QFETCH(int, selected);
    QFETCH(QStringList, said);
    m_test->writeLocations({"u1,Albany,", "u2,Boston,", "u3,Buffalo,"});
    Form1 window(m_test->environment());
    showAndActivate(window);
    window.ListView1->setFocus(Qt::TabFocusReason);
    startListening();
    QTest::keySequence(window.ListView1, keys);
    QCOMPARE(window.ListView1->selectionModel()->selectedRows().size(), selected);
    QStringList notifications;
    for (const Heard& event : heardOf(QAccessible::ObjectShow))
        notifications.append(event.name);
    QCOMPARE(notifications, said);
}

void tst_Accessibility::errorReportIsReadWithoutItsInvisibleBreaks()
{
    const QString report = QStringLiteral("Error 53 in Form_Load, line 106:\r\nThe file \"/home/someone/screenshots/"
                                          "PushButton7.png\" was not found.");
    const std::unique_ptr<QMessageBox> box = makeErrorReportBox(nullptr, ProgramNames::kErrorReportTitle, report);
    auto* text = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    QVERIFY(text->text().contains(QChar(0x200B))); // the breaks are there to see
    QCOMPARE(QAccessible::queryAccessibleInterface(text)->text(QAccessible::Name), displayedReportText(report));
    QAccessibleInterface* whole = QAccessible::queryAccessibleInterface(box.get());
    for (const QAccessible::Text part : {QAccessible::Name, QAccessible::Description, QAccessible::Value})
        QVERIFY2(!whole->text(part).contains(QChar(0x200B)), qPrintable(QString::number(part)));
}

QTEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
