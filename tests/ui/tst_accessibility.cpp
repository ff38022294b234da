// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestEnvironment.h"

#include "platform/ListView.h"
#include "platform/PushButton.h"
#include "ui/Form1.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

// What a screen reader hears: each control's role and name, and each row of the lists.
class tst_Accessibility : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void everyControlIsNamedAsItReads_data();
    void everyControlIsNamedAsItReads();
    void filterBoxIsLabelledByItsLabel();
    void rowsAreHeardByTheirVisibleText_data();
    void rowsAreHeardByTheirVisibleText();
    void otherWindowsKeepTheirOwnRoles();

private:
    std::unique_ptr<TestEnvironment> m_test;
};

void tst_Accessibility::init()
{
    m_test = std::make_unique<TestEnvironment>();
    m_test->writeLocations({"http://albany.bazaarly.org/,Albany,New York", "http://akron.bazaarly.org/,Akron,Ohio"});
    m_test->storeValue(QStringLiteral("lawnmower site:albany.bazaarly.org|"));
}

void tst_Accessibility::cleanup()
{
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

QTEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
