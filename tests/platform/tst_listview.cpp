// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/base/Failure.h"
#include "platform/controls/ListView.h"

#include <QAbstractItemModelTester>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <functional>

using ListOperation = std::function<void(ListView&)>;

// An item at the end of the list, told to the views on its own, as Add Search tells them of its queries.
static void addItem(ListModel& model, const QString& text)
{
    model.insert(model.size(), {text});
}

// Items with sub-items at the end of the list, in one batch, as the locations come.
static void addRows(ListModel& model, const QList<std::pair<QString, QString>>& rows)
{
    ListModel::Batch batch(model);
    for (const auto& [text, subItem] : rows)
        batch.append(text, subItem);
}
Q_DECLARE_METATYPE(ListOperation)

class tst_ListView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void itemsKeepTheirOrderAndSubItems();
    void removeKeepsTheOthersInOrder();
    void rowsWithAndWithoutSubItemsKeepTheirTexts();
    void textsSurviveRemovals();
    void operationsThatFindNoItemFail_data();
    void operationsThatFindNoItemFail();
    void batchResetsTheViewOnceAndKeepsRowsOnFailure();
    void aRowThatRunsOutOfMemoryLeavesNoTrace();
    void aListWithItemsAlwaysHasASelectedItem_data();
    void aListWithItemsAlwaysHasASelectedItem();
    void theKeyboardStartsFromTheSelectedItemAndFindsVisibleText();
    void clickOnTheVisibleColumnSelectsTheRow();
    void selectionStaysWhenTheFocusMovesToAButton();
    void columnWidthsAreInTwips();
    void aHugeTextIsShownByItsBeginningAndEnd();
    void onlyCellsOfTheListAreItems_data();
    void onlyCellsOfTheListAreItems();

private:
    QWidget* m_window = nullptr;
    ListView* m_list = nullptr;
    QPushButton* m_button = nullptr;
};

void tst_ListView::init()
{
    m_window = new QWidget;
    auto* layout = new QVBoxLayout(m_window);
    m_list = new ListView;
    m_button = new QPushButton(QStringLiteral("Go"));
    layout->addWidget(m_list);
    layout->addWidget(m_button);
    new QAbstractItemModelTester(&m_list->listModel(), QAbstractItemModelTester::FailureReportingMode::QtTest, m_list);
    m_list->addColumn(QStringLiteral("URL"));
    m_list->addColumn(QStringLiteral("Locations"));
}

void tst_ListView::cleanup()
{
    delete m_window;
}

void tst_ListView::itemsKeepTheirOrderAndSubItems()
{
    addRows(m_list->listModel(), {{"http://b/", "B"}, {"http://a/", "A"}, {"http://c/", ""}});
    QCOMPARE(m_list->count(), 3);
    QCOMPARE(m_list->itemText(1), QStringLiteral("http://b/"));
    QCOMPARE(m_list->itemText(2), QStringLiteral("http://a/"));
    QCOMPARE(m_list->listModel().index(1, 1).data().toString(), QStringLiteral("A"));
    QCOMPARE(m_list->listModel().index(2, 1).data().toString(), QString());
}

void tst_ListView::removeKeepsTheOthersInOrder()
{
    for (const char* text : {"one", "two", "three"})
        addItem(m_list->listModel(), QString::fromLatin1(text));
    m_list->removeItem(2);
    QCOMPARE(m_list->count(), 2);
    QCOMPARE(m_list->itemText(1), QStringLiteral("one"));
    QCOMPARE(m_list->itemText(2), QStringLiteral("three"));
    m_list->listModel().clear();
    QCOMPARE(m_list->count(), 0);
}

void tst_ListView::rowsWithAndWithoutSubItemsKeepTheirTexts()
{
    ListModel& model = m_list->listModel();
    {
        ListModel::Batch batch(model);
        batch.append(u"first", u"");
        batch.append(u"second", u"Second, Region");
        batch.append(u"", u"an empty item's sub-item");
        batch.append(u"last");
        batch.append(u"pieces", {u"Name", u"", u", ", u"Region"}); // joined, the empty piece adding nothing
    }
    const QStringList texts = {"first", "second", "", "last", "pieces"};
    const QStringList subItems = {"", "Second, Region", "an empty item's sub-item", "", "Name, Region"};
    QCOMPARE(model.size(), texts.size());
    for (qsizetype row = 0; row < model.size(); ++row) {
        QCOMPARE(model.textView(row), texts[row]);
        QCOMPARE(model.text(row), texts[row]);
        QCOMPARE(model.subItem1View(row), subItems[row]);
    }
}

void tst_ListView::textsSurviveRemovals()
{
    // Enough removals that the texts' storage is compacted on the way.
    constexpr int kItems = 900;
    QList<std::pair<QString, QString>> towns;
    for (int i = 1; i <= kItems; ++i)
        towns.append({QStringLiteral("http://town%1/").arg(i), QStringLiteral("Town %1").arg(i)});
    addRows(m_list->listModel(), towns);
    for (int i = 0; i < 600; ++i)
        m_list->removeItem(1 + (i * 7) % m_list->count());
    QCOMPARE(m_list->count(), kItems - 600);
    for (qsizetype position = 1; position <= m_list->count(); ++position) {
        const QString text = m_list->itemText(position);
        const QString number = text.mid(11).chopped(1);
        const QString name = m_list->listModel().subItem1View(position - 1).toString();
        QCOMPARE(name, QStringLiteral("Town ") + number);
    }
}

void tst_ListView::operationsThatFindNoItemFail_data()
{
    QTest::addColumn<int>("items");
    QTest::addColumn<ListOperation>("operation");
    QTest::newRow("selected position of an empty list")
        << 0 << ListOperation([](ListView& list) { list.selectedPosition(); });
    QTest::newRow("selected position of an emptied list") << 0 << ListOperation([](ListView& list) {
        addItem(list.listModel(), QStringLiteral("a"));
        list.listModel().clear();
        list.selectedPosition();
    });
    QTest::newRow("text at position 0") << 2 << ListOperation([](ListView& list) { list.itemText(0); });
    QTest::newRow("text past the end") << 2 << ListOperation([](ListView& list) { list.itemText(3); });
    QTest::newRow("removing past the end") << 2 << ListOperation([](ListView& list) { list.removeItem(3); });
    QTest::newRow("removing more items than follow")
        << 2 << ListOperation([](ListView& list) { list.removeItems(2, 2); });
    QTest::newRow("selected positions of an empty list")
        << 0 << ListOperation([](ListView& list) { list.selectedPositions(); });
    QTest::newRow("width of a missing column")
        << 0 << ListOperation([](ListView& list) { list.setColumnWidthTwips(3, 100); });
}

void tst_ListView::operationsThatFindNoItemFail()
{
    QFETCH(int, items);
    QFETCH(ListOperation, operation);
    for (int i = 0; i < items; ++i)
        addItem(m_list->listModel(), QStringLiteral("item"));
    try {
        operation(*m_list);
        QFAIL("no failure was raised");
    } catch (const Failure& failure) {
        QVERIFY(!failure.description().isEmpty());
    }
    QCOMPARE(m_list->count(), items);
}

void tst_ListView::batchResetsTheViewOnceAndKeepsRowsOnFailure()
{
    addItem(m_list->listModel(), QStringLiteral("before"));
    QSignalSpy resets(&m_list->listModel(), &QAbstractItemModel::modelReset);
    QSignalSpy inserts(&m_list->listModel(), &QAbstractItemModel::rowsInserted);
    QVERIFY(resets.isValid() && inserts.isValid());
    try {
        ListModel::Batch batch(m_list->listModel());
        batch.clear();
        for (int i = 0; i < 1000; ++i)
            batch.append(QString::number(i));
        throw Failure(QStringLiteral("bad line"));
    } catch (const Failure&) {
    }
    QCOMPARE(resets.count(), 1);
    QCOMPARE(inserts.count(), 0);
    QCOMPARE(m_list->count(), 1000);
    QCOMPARE(m_list->itemText(1000), QStringLiteral("999"));
}

void tst_ListView::aRowThatRunsOutOfMemoryLeavesNoTrace()
{
    addRows(m_list->listModel(), {{"first", "First"}});
    // A sub-item of 2^40 characters: asking for room for it fails before any of it is read.
    const QStringView tooLong(u"x", qsizetype(1) << 40);
    QVERIFY_THROWS_EXCEPTION(std::bad_alloc, ListModel::Batch(m_list->listModel()).append(u"third", tooLong));
    QVERIFY_THROWS_EXCEPTION(std::bad_alloc,
                             ListModel::Batch(m_list->listModel()).append(u"third", {u"Third, ", tooLong}));
    QCOMPARE(m_list->count(), 1);
    addRows(m_list->listModel(), {{"fourth", "Fourth"}});
    QCOMPARE(m_list->itemText(2), QStringLiteral("fourth"));
    QCOMPARE(m_list->listModel().subItem1View(1), QStringLiteral("Fourth"));
    QCOMPARE(m_list->listModel().subItem1View(0), QStringLiteral("First"));
}

void tst_ListView::aListWithItemsAlwaysHasASelectedItem_data()
{
    const auto add = [](ListView& list, std::initializer_list<const char*> texts) {
        for (const char* text : texts)
            addItem(list.listModel(), QString::fromLatin1(text));
    };
    const auto select = [](ListView& list, int position) {
        list.selectionModel()->select(list.listModel().index(position - 1, 0),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    };
    QTest::addColumn<ListOperation>("operation");
    QTest::addColumn<QString>("selected"); // the selected item's text; empty when nothing is selected
    QTest::newRow("the first item added to an empty list is selected")
        << ListOperation([=](ListView& list) { add(list, {"a"}); }) << "a";
    QTest::newRow("later items leave the selection where it is") << ListOperation([=](ListView& list) {
        add(list, {"a", "b", "c"});
    }) << "a";
    QTest::newRow("a selection the user moved stays when items are added") << ListOperation([=](ListView& list) {
        add(list, {"a", "b"});
        select(list, 2);
        add(list, {"c"});
    }) << "b";
    QTest::newRow("removing the selected item selects the one that takes its place")
        << ListOperation([=](ListView& list) {
               add(list, {"a", "b", "c"});
               select(list, 2);
               list.removeItem(2);
           })
        << "c";
    QTest::newRow("removing the selected last item selects the new last") << ListOperation([=](ListView& list) {
        add(list, {"a", "b", "c"});
        select(list, 3);
        list.removeItem(3);
    }) << "b";
    QTest::newRow("removing another item keeps the selected one") << ListOperation([=](ListView& list) {
        add(list, {"a", "b", "c"});
        select(list, 3);
        list.removeItem(1);
    }) << "c";
    QTest::newRow("removing the only item leaves nothing selected") << ListOperation([=](ListView& list) {
        add(list, {"a"});
        list.removeItem(1);
    }) << "";
    QTest::newRow("clearing leaves nothing selected") << ListOperation([=](ListView& list) {
        add(list, {"a", "b"});
        list.listModel().clear();
    }) << "";
    QTest::newRow("the first item after a clear is selected") << ListOperation([=](ListView& list) {
        add(list, {"a", "b"});
        select(list, 2);
        list.listModel().clear();
        add(list, {"c", "d"});
    }) << "c";
    QTest::newRow("a rebuild selects its first item") << ListOperation([=](ListView& list) {
        add(list, {"a", "b"});
        select(list, 2);
        ListModel::Batch batch(list.listModel());
        batch.clear();
        batch.append(QStringLiteral("x"));
        batch.append(QStringLiteral("y"));
    }) << "x";
    QTest::newRow("a rebuild that finds nothing leaves nothing selected") << ListOperation([=](ListView& list) {
        add(list, {"a"});
        ListModel::Batch(list.listModel()).clear();
    }) << "";
    QTest::newRow("deselecting the selected item does not leave the list without one")
        << ListOperation([=](ListView& list) {
               add(list, {"a", "b"});
               select(list, 2);
               list.selectionModel()->select(list.listModel().index(1, 0),
                                             QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
           })
        << "b";
}

void tst_ListView::aListWithItemsAlwaysHasASelectedItem()
{
    QFETCH(ListOperation, operation);
    QFETCH(QString, selected);
    operation(*m_list);
    const QModelIndexList rows = m_list->selectionModel()->selectedRows();
    QCOMPARE(rows.size(), selected.isEmpty() ? 0 : 1);
    if (selected.isEmpty())
        return;
    QCOMPARE(m_list->itemText(m_list->selectedPosition()), selected);
    QCOMPARE(m_list->currentIndex().row(), rows.first().row()); // the keyboard goes on from the selected item
}

void tst_ListView::theKeyboardStartsFromTheSelectedItemAndFindsVisibleText()
{
    m_list->setColumnWidthTwips(1, 1);
    m_list->setColumnWidthTwips(2, 3000);
    addRows(m_list->listModel(),
            {{"http://albany/", "Albany"}, {"http://boston/", "Boston"}, {"http://chicago/", "Chicago"},
             {"http://dallas/", "Dallas"}});
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    m_list->setFocus();
    QCOMPARE(m_list->currentIndex().column(), 1); // the visible column, not the hidden URL
    QTest::keyClick(m_list, Qt::Key_Down);
    QCOMPARE(m_list->itemText(m_list->selectedPosition()), QStringLiteral("http://boston/"));
    QTest::keyClicks(m_list, QStringLiteral("dal")); // every URL begins with "http": only a name can match
    QCOMPARE(m_list->itemText(m_list->selectedPosition()), QStringLiteral("http://dallas/"));
    QTest::keyClick(m_list, Qt::Key_Space, Qt::ControlModifier); // would deselect in a plain Qt view
    QCOMPARE(m_list->itemText(m_list->selectedPosition()), QStringLiteral("http://dallas/"));
}

void tst_ListView::clickOnTheVisibleColumnSelectsTheRow()
{
    m_list->setColumnWidthTwips(1, 1);
    m_list->setColumnWidthTwips(2, 3000);
    addRows(m_list->listModel(), {{"http://x/", "Albany"}, {"http://x/", "Boston"}, {"http://x/", "Chicago"}});
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    const QRect second = m_list->visualRect(m_list->listModel().index(1, 1));
    QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(m_list->selectedPosition(), 2);
    QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {},
                      m_list->visualRect(m_list->listModel().index(2, 1)).center());
    QCOMPARE(m_list->selectedPosition(), 3); // one selected row at a time
    QCOMPARE(m_list->selectionModel()->selectedRows().size(), 1);
}

void tst_ListView::selectionStaysWhenTheFocusMovesToAButton()
{
    addItem(m_list->listModel(), QStringLiteral("a"));
    addItem(m_list->listModel(), QStringLiteral("b"));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    m_list->setFocus();
    m_list->selectionModel()->select(m_list->listModel().index(1, 0),
                                     QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_button->setFocus();
    QCOMPARE(m_list->itemText(m_list->selectedPosition()), QStringLiteral("b"));
    const QPalette colours = m_list->palette();
    QCOMPARE(colours.color(QPalette::Inactive, QPalette::Highlight),
             colours.color(QPalette::Active, QPalette::Highlight));
}

void tst_ListView::columnWidthsAreInTwips()
{
    m_list->setColumnWidthTwips(2, 7000);
    QCOMPARE(m_list->columnWidth(1), 467);
    m_list->setColumnWidthTwips(1, 1);
    QCOMPARE(m_list->columnWidth(0), 0);
}

void tst_ListView::aHugeTextIsShownByItsBeginningAndEnd()
{
    // Drawing a row lays out the whole text it shows; ten million characters kept a processor busy.
    QString huge(10'000'000, QLatin1Char('m'));
    huge.replace(0, 5, QStringLiteral("start")).replace(huge.size() - 15, 15, QStringLiteral(" site:x.org end"));
    addRows(m_list->listModel(), {{huge, huge}});
    for (int column : {0, 1}) {
        const QString shown =
            m_list->listModel().data(m_list->listModel().index(0, column), Qt::DisplayRole).toString();
        QVERIFY(shown.size() <= 2001);
        QVERIFY(shown.startsWith(QStringLiteral("startmmm")));
        QVERIFY(shown.endsWith(QStringLiteral("mmm site:x.org end")));
    }
    QCOMPARE(m_list->itemText(1), huge); // the item keeps its whole text
}

void tst_ListView::onlyCellsOfTheListAreItems_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("underACell");
    QTest::addColumn<bool>("isItem");
    QTest::newRow("the last cell is an item, selectable, without children") << 1 << 1 << false << true;
    QTest::newRow("a row past the last is none") << 2 << 0 << false << false;
    QTest::newRow("a column past the last is none") << 0 << 2 << false << false;
    QTest::newRow("a row before the first is none") << -1 << 0 << false << false;
    QTest::newRow("a column before the first is none") << 0 << -1 << false << false;
    QTest::newRow("a cell has no cells under it") << 0 << 0 << true << false;
}

void tst_ListView::onlyCellsOfTheListAreItems()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(bool, underACell);
    QFETCH(bool, isItem);
    addItem(m_list->listModel(), QStringLiteral("http://a/"));
    addItem(m_list->listModel(), QStringLiteral("http://b/"));
    const ListModel& model = m_list->listModel();
    const QModelIndex cell = model.index(row, column, underACell ? model.index(0, 0) : QModelIndex());
    QCOMPARE(cell.isValid(), isItem);
    const Qt::ItemFlags expected =
        isItem ? Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren : Qt::ItemFlags();
    QCOMPARE(model.flags(cell), expected);
}

QTEST_MAIN(tst_ListView)
#include "tst_listview.moc"
