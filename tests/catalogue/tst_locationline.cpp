// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/LocationLine.h"
#include "platform/base/Failure.h"

#include <QTest>

class tst_LocationLine : public QObject
{
    Q_OBJECT

private slots:
    void splitsIntoUrlAndDisplayName_data();
    void splitsIntoUrlAndDisplayName();
    void lineWithFewerThanThreeFieldsFails_data();
    void lineWithFewerThanThreeFieldsFails();
};

void tst_LocationLine::splitsIntoUrlAndDisplayName_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("displayName");
    QTest::newRow("three fields join name and region") << "http://u/,Albany,New York"
                                                       << "http://u/"
                                                       << "Albany, New York";
    QTest::newRow("an empty region leaves the name alone") << "http://u/,Albany,"
                                                           << "http://u/"
                                                           << "Albany";
    QTest::newRow("a blank after the comma is kept") << "http://u/,Albany, NY"
                                                     << "http://u/"
                                                     << "Albany,  NY";
    QTest::newRow("a region of blanks is not empty") << "u,N, "
                                                     << "u"
                                                     << "N,  ";
    QTest::newRow("a fourth field is ignored") << "u,N,R,X,Y"
                                               << "u"
                                               << "N, R";
    QTest::newRow("characters holding the comma's byte are not commas")
        << QString::fromUtf8("u\u012c,N\u2c00\u2c2c,R\u022c") << QString::fromUtf8("u\u012c")
        << QString::fromUtf8("N\u2c00\u2c2c, R\u022c");
    QTest::newRow("name and region may both be empty") << "u,,"
                                                       << "u"
                                                       << "";
    QTest::newRow("an empty URL is accepted") << ",N,R"
                                              << ""
                                              << "N, R";
    QTest::newRow("blanks around fields are not trimmed") << " u , N ,R"
                                                          << " u "
                                                          << " N , R";
}

void tst_LocationLine::splitsIntoUrlAndDisplayName()
{
    QFETCH(QString, line);
    QFETCH(QString, url);
    QFETCH(QString, displayName);
    const LocationLine location = splitLocationLine(line);
    QCOMPARE(location.url.toString(), url);
    QString composed = QStringLiteral("left over from the line before");
    composeDisplayName(location, composed);
    QCOMPARE(composed, displayName);
}

void tst_LocationLine::lineWithFewerThanThreeFieldsFails_data()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("an empty line") << "";
    QTest::newRow("one field") << "http://u/";
    QTest::newRow("two fields") << "http://u/,Albany";
}

void tst_LocationLine::lineWithFewerThanThreeFieldsFails()
{
    QFETCH(QString, line);
    QVERIFY_THROWS_EXCEPTION(Failure, splitLocationLine(line));
}

QTEST_GUILESS_MAIN(tst_LocationLine)
#include "tst_locationline.moc"
