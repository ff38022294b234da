// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Failure.h"
#include "platform/UrlOpener.h"

#include <QRegularExpression>
#include <QTest>
#include <QUrl>

// The desktop's opener, where nothing can open web addresses: the headless platform has no desktop services,
// and neither xdg-open nor a browser is on the search path.
class tst_UrlOpener : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void addressNobodyOpensIsReported_data();
    void addressNobodyOpensIsReported();
};

void tst_UrlOpener::initTestCase()
{
    qputenv("PATH", "/nonexistent");
    qunsetenv("BROWSER");
    qunsetenv("DEFAULT_BROWSER");
}

void tst_UrlOpener::addressNobodyOpensIsReported_data()
{
    QTest::addColumn<QUrl>("address");
    QTest::addColumn<QString>("named");
    QTest::newRow("a search address") << QUrl(QStringLiteral("https://www.google.com/#q=desk%20site:x"))
                                      << QStringLiteral("https://www.google.com/#q=desk%20site:x");
    QTest::newRow("an address too long to show whole")
        << QUrl(QStringLiteral("https://www.google.com/#q=") + QString(100'000, QLatin1Char('a')))
        << QStringLiteral("https://www.google.com/#q=aaaa");
}

void tst_UrlOpener::addressNobodyOpensIsReported()
{
    QFETCH(QUrl, address);
    QFETCH(QString, named);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(".")));
    try {
        openWithDesktop(address);
        QFAIL("the address was taken");
    } catch (const Failure& failure) {
        QVERIFY2(failure.description().contains(named), qPrintable(failure.description().left(300)));
        QVERIFY(failure.description().size() < 400);
    }
}

QTEST_MAIN(tst_UrlOpener)
#include "tst_urlopener.moc"
