// SPDX-License-Identifier: GPL-3.0-or-later
#include "searches/SearchQuery.h"

#include <QTest>

class tst_SearchQuery : public QObject
{
    Q_OBJECT

private slots:
    void composesTextSiteAndHost_data();
    void composesTextSiteAndHost();
    void addressKeepsItsShapeAndDecodesToTheQuery_data();
    void addressKeepsItsShapeAndDecodesToTheQuery();
    void meaningfulCharactersAreEncoded();
};

void tst_SearchQuery::composesTextSiteAndHost_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("query");
    QTest::newRow("scheme and trailing slash go") << "lawnmower"
                                                  << "http://albany.bazaarly.org/"
                                                  << "lawnmower site:albany.bazaarly.org";
    QTest::newRow("the text stays exactly as typed") << "  Red Bike "
                                                     << "http://x.org/"
                                                     << "  Red Bike  site:x.org";
    QTest::newRow("path segments run on without slashes") << "a"
                                                          << "http://x.org/for/sale/"
                                                          << "a site:x.orgforsale";
    QTest::newRow("https keeps its colon") << "a"
                                           << "https://x.org/"
                                           << "a site:https:x.org";
    QTest::newRow("capital HTTP is not removed") << "a"
                                                 << "HTTP://x.org/"
                                                 << "a site:HTTP:x.org";
    QTest::newRow("every http:// goes, not only the first") << "a"
                                                            << "http://x.http://y/"
                                                            << "a site:x.y";
    QTest::newRow("an empty URL ends in site:") << "a"
                                                << ""
                                                << "a site:";
}

void tst_SearchQuery::composesTextSiteAndHost()
{
    QFETCH(QString, text);
    QFETCH(QString, url);
    QFETCH(QString, query);
    QCOMPARE(composeQuery(text, url), query);
}

void tst_SearchQuery::addressKeepsItsShapeAndDecodesToTheQuery_data()
{
    QTest::addColumn<QString>("query");
    QTest::newRow("the sample") << kSampleQuery;
    QTest::newRow("ampersands") << "AT&T && more site:x.org";
    QTest::newRow("plus signs") << "C++ site:x.org";
    QTest::newRow("a hash") << "#1 fan site:x.org";
    QTest::newRow("percent signs") << "100% cotton %20 %zz site:x.org";
    QTest::newRow("quotes") << "\"exact phrase\" 'single' site:x.org";
    QTest::newRow("javascript") << "javascript:alert(1) site:x.org";
    QTest::newRow("a file address") << "file:///etc/passwd site:x.org";
    QTest::newRow("an address of its own") << "https://evil.example/ site:x.org";
    QTest::newRow("a newline and a tab") << "a\nb\tc\r site:x.org";
    QTest::newRow("bars") << QString(1000, QLatin1Char('|'));
    QTest::newRow("question marks and slashes") << "what? /path/ ?q=1 site:x.org";
    QTest::newRow("letters beyond ASCII") << QStringLiteral("caf\u00E9 \u4E2D\u6587 \U0001F600 site:x.org");
    QTest::newRow("noncharacters, which QUrl itself mangles")
        << QStringLiteral("\U0007FFFF \uFFFE \uFDD0 &+ site:x.org");
}

void tst_SearchQuery::addressKeepsItsShapeAndDecodesToTheQuery()
{
    QFETCH(QString, query);
    const QUrl url = searchUrl(query);
    QVERIFY(url.isValid());
    QCOMPARE(url.scheme(), QStringLiteral("https"));
    QCOMPARE(url.host(), kSearchEngineHost);
    QCOMPARE(url.path(), QStringLiteral("/"));
    QVERIFY(!url.hasQuery());
    const QString sent = url.toString(QUrl::FullyEncoded);
    QVERIFY(sent.startsWith(kSearchEnginePrefix));
    QCOMPARE(QUrl::fromPercentEncoding(sent.mid(kSearchEnginePrefix.size()).toUtf8()), query);
}

void tst_SearchQuery::meaningfulCharactersAreEncoded()
{
    QCOMPARE(searchAddress(QStringLiteral("AT&T C++ #1 100% \"x\" site:y")),
             kSearchEnginePrefix + QStringLiteral("AT%26T C%2B%2B %231 100%25 %22x%22 site:y"));
    QCOMPARE(searchAddress(QStringLiteral("a\nb")), kSearchEnginePrefix + QStringLiteral("a%0Ab"));
    QCOMPARE(searchAddress(QStringLiteral("caf\u00E9")), kSearchEnginePrefix + QStringLiteral("caf%C3%A9"));
}

QTEST_GUILESS_MAIN(tst_SearchQuery)
#include "tst_searchquery.moc"
