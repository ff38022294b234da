// SPDX-License-Identifier: GPL-3.0-or-later
#include "searches/SearchQuery.h"

#include <QTest>

Q_DECLARE_METATYPE(SearchEngine)

class tst_SearchQuery : public QObject
{
    Q_OBJECT

private slots:
    void composesTextSiteAndHost_data();
    void composesTextSiteAndHost();
    void addressIsTheEnginesResultPage_data();
    void addressIsTheEnginesResultPage();
    void addressKeepsItsShapeAndDecodesToTheQuery_data();
    void addressKeepsItsShapeAndDecodesToTheQuery();
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

void tst_SearchQuery::addressIsTheEnginesResultPage_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<SearchEngine>("engine");
    QTest::addColumn<QString>("address");
    const auto row = [](const char* name, const QString& query, SearchEngine engine, const char* address) {
        QTest::newRow(name) << query << engine << QString::fromUtf8(address);
    };
    row("the sample on Google", kSampleQuery, SearchEngine::Google,
        "https://www.google.com/search?q=lawnmower%20site:albany.bazaarly.org");
    row("the sample on Bing", kSampleQuery, SearchEngine::Bing,
        "https://www.bing.com/search?q=lawnmower%20site:albany.bazaarly.org");
    row("the sample on DuckDuckGo", kSampleQuery, SearchEngine::DuckDuckGo,
        "https://duckduckgo.com/?q=lawnmower%20site:albany.bazaarly.org");
    row("ampersand, plus, hash and percent stay in the query", QStringLiteral("AT&T C++ #1 100% site:x.org"),
        SearchEngine::Google, "https://www.google.com/search?q=AT%26T%20C%2B%2B%20%231%20100%25%20site:x.org");
    row("an ampersand starts no parameter of its own", QStringLiteral("a&kp=-2 site:x.org"), SearchEngine::DuckDuckGo,
        "https://duckduckgo.com/?q=a%26kp=-2%20site:x.org");
    row("quotation marks", QStringLiteral("\"exact phrase\" site:x.org"), SearchEngine::Bing,
        "https://www.bing.com/search?q=%22exact%20phrase%22%20site:x.org");
    row("letters beyond ASCII as UTF-8", QStringLiteral("caf\u00E9 \u4E2D\u6587 site:x.org"), SearchEngine::DuckDuckGo,
        "https://duckduckgo.com/?q=caf%C3%A9%20%E4%B8%AD%E6%96%87%20site:x.org");
    row("a trailing blank is kept", QStringLiteral("desk site:x.org "), SearchEngine::Google,
        "https://www.google.com/search?q=desk%20site:x.org%20");
    row("a newline", QStringLiteral("a\nb site:x.org"), SearchEngine::Bing,
        "https://www.bing.com/search?q=a%0Ab%20site:x.org");
    row("an escaped-looking percent is not decoded", QStringLiteral("%20 site:x.org"), SearchEngine::Google,
        "https://www.google.com/search?q=%2520%20site:x.org");
}

void tst_SearchQuery::addressIsTheEnginesResultPage()
{
    QFETCH(QString, query);
    QFETCH(SearchEngine, engine);
    QFETCH(QString, address);
    QCOMPARE(QString::fromLatin1(searchUrl(query, engine).toEncoded()), address);
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
    for (const SearchEngine engine : kSearchEngines) {
        const QUrl page(searchEnginePrefix(engine));
        const QUrl url = searchUrl(query, engine);
        QVERIFY(url.isValid());
        QCOMPARE(url.scheme(), QStringLiteral("https"));
        QCOMPARE(url.host(), page.host());
        QCOMPARE(url.path(), page.path());
        QVERIFY(!url.hasFragment());
        const QString sent = url.toString(QUrl::FullyEncoded);
        QVERIFY(sent.startsWith(searchEnginePrefix(engine)));
        const QString value = sent.mid(searchEnginePrefix(engine).size());
        QVERIFY2(!value.contains(QLatin1Char('&')) && !value.contains(QLatin1Char('#')), qPrintable(sent));
        QCOMPARE(QUrl::fromPercentEncoding(value.toUtf8()), query);
    }
}

QTEST_GUILESS_MAIN(tst_SearchQuery)
#include "tst_searchquery.moc"
