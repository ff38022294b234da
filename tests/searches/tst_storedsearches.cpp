// SPDX-License-Identifier: GPL-3.0-or-later
#include "searches/StoredSearches.h"

#include <QTest>

// The queries as the program hands them over: views of the list's own texts.
static QList<QStringView> viewsOf(const QStringList& queries)
{
    return QList<QStringView>(queries.cbegin(), queries.cend());
}

static QStringList textsOf(const StoredSearchParts& parts)
{
    QStringList texts;
    for (qsizetype i = 0; i < parts.size(); ++i)
        texts.append(parts[i].toString());
    return texts;
}

class tst_StoredSearches : public QObject
{
    Q_OBJECT

private slots:
    void joinsEachQueryFollowedByABar_data();
    void joinsEachQueryFollowedByABar();
    void roundTripGivesBackTheList_data();
    void roundTripGivesBackTheList();
    void handWrittenValuesSplit_data();
    void handWrittenValuesSplit();
};

void tst_StoredSearches::joinsEachQueryFollowedByABar_data()
{
    QTest::addColumn<QStringList>("queries");
    QTest::addColumn<QString>("value");
    QTest::newRow("two queries") << QStringList{"a site:x", "b site:y"} << "a site:x|b site:y|";
    QTest::newRow("an empty list is the empty text") << QStringList{} << "";
    QTest::newRow("an empty query is a lone bar") << QStringList{""} << "|";
    QTest::newRow("a bar inside a query is escaped") << QStringList{"a|b site:x"} << "a\\|b site:x|";
    QTest::newRow("a backslash is doubled") << QStringList{"c:\\ site:x"} << "c:\\\\ site:x|";
    QTest::newRow("queries with escapes among plain ones make room for them")
        << QStringList{"a", "b|c", "d", "e\\", "f"} << "a|b\\|c|d|e\\\\|f|";
}

void tst_StoredSearches::joinsEachQueryFollowedByABar()
{
    QFETCH(QStringList, queries);
    QFETCH(QString, value);
    QCOMPARE(joinStoredSearches(viewsOf(queries)), value);
}

void tst_StoredSearches::roundTripGivesBackTheList_data()
{
    QTest::addColumn<QStringList>("queries");
    QTest::newRow("plain queries, duplicates and blanks") << QStringList{"a site:x", "a site:x", "  padded  site:y "};
    QTest::newRow("the OR operator") << QStringList{"bike|trike site:x", "|", "||a||"};
    QTest::newRow("backslashes before bars and at the end") << QStringList{"a\\|b", "\\", "end\\", "\\\\|"};
    QTest::newRow("a long query escaped only near its end")
        << QStringList{QString(5000, u'x') + "|y", "plain", QString(3000, u'\\')};
    QStringList everyPlace; // queries up to twenty long, a bar or a backslash at each place in each
    for (int length = 1; length <= 20; ++length) {
        for (int at = 0; at < length; ++at) {
            everyPlace << QString(length, u'x').replace(at, 1, u'|') << QString(length, u'x').replace(at, 1, u'\\');
        }
    }
    QTest::newRow("a bar or a backslash at every place in a short query") << everyPlace;
}

void tst_StoredSearches::roundTripGivesBackTheList()
{
    QFETCH(QStringList, queries);
    QStringList parts = textsOf(splitStoredSearches(joinStoredSearches(viewsOf(queries))));
    QCOMPARE(parts.takeLast(), QString()); // the empty part after the final bar
    QCOMPARE(parts, queries);
}

void tst_StoredSearches::handWrittenValuesSplit_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("parts");
    QTest::newRow("no final bar") << "a|b" << QStringList{"a", "b"};
    QTest::newRow("bars only") << "|||" << QStringList{"", "", "", ""};
    QTest::newRow("a backslash before another character stays") << "c:\\x|" << QStringList{"c:\\x", ""};
    QTest::newRow("a lone backslash at the end stays") << "a\\" << QStringList{"a\\"};
    QTest::newRow("an escaped bar just before a real one") << "a\\||b" << QStringList{"a|", "b"};
    QTest::newRow("a doubled backslash before a bar ends the part") << "a\\\\|b" << QStringList{"a\\", "b"};
    QTest::newRow("a doubled backslash then an escaped bar") << "\\\\\\|" << QStringList{"\\|"};
    QTest::newRow("backslashes in a value without bars stay") << "\\x\\y" << QStringList{"\\x\\y"};
}

void tst_StoredSearches::handWrittenValuesSplit()
{
    QFETCH(QString, value);
    QFETCH(QStringList, parts);
    QCOMPARE(textsOf(splitStoredSearches(value)), parts);
}

QTEST_GUILESS_MAIN(tst_StoredSearches)
#include "tst_storedsearches.moc"
