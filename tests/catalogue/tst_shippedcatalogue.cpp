// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestEnvironment.h"

#include "platform/controls/ListView.h"
#include "ui/Form1.h"

#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

// The catalogue that ships beside the program.
class tst_ShippedCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyLineIsALocationWithItsOwnHost();
    void loadsWholeWithoutAReport();

private:
    QByteArray m_contents;
};

void tst_ShippedCatalogue::initTestCase()
{
    QFile file(QStringLiteral(BAZAARLY_SOURCE_DATA "/list.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    m_contents = file.readAll();
}

void tst_ShippedCatalogue::everyLineIsALocationWithItsOwnHost()
{
    QVERIFY(m_contents.endsWith('\n'));
    const QList<QByteArray> lines = m_contents.chopped(1).split('\n');
    QVERIFY2(lines.size() >= 400, qPrintable(QString::number(lines.size())));
    // A name that two places share carries its region in the host as well.
    static const QRegularExpression format(
        QStringLiteral("^http://([a-z0-9]+)\\.bazaarly\\.org/,([A-Za-z][A-Za-z' .-]*),([A-Za-z][A-Za-z ]*)$"));
    const auto letters = [](QString text) {
        return text.toLower().remove(QRegularExpression(QStringLiteral("[^a-z0-9]")));
    };
    QSet<QString> hosts;
    for (const QByteArray& bytes : lines) {
        const QString line = QString::fromLatin1(bytes);
        const QRegularExpressionMatch match = format.match(line);
        QVERIFY2(match.hasMatch(), qPrintable(line));
        const QString host = match.captured(1);
        QVERIFY2(host == letters(match.captured(2)) || host == letters(match.captured(2) + match.captured(3)),
                 qPrintable(line));
        QVERIFY2(!hosts.contains(host), qPrintable(line));
        hosts.insert(host);
    }
    QVERIFY(hosts.contains(QStringLiteral("albany")));
}

void tst_ShippedCatalogue::loadsWholeWithoutAReport()
{
    TestEnvironment test;
    test.writeDataFile(QStringLiteral("list.txt"), m_contents);
    Form1 window(test.environment());
    QCOMPARE(test.reports, QStringList());
    QCOMPARE(window.ListView1->count(), m_contents.count('\n'));
    QTest::keyClicks(window.Text1, QStringLiteral("alb"));
    letTheFilterCatchUp(window);
    QStringList filtered;
    for (qsizetype position = 1; position <= window.ListView1->count(); ++position)
        filtered.append(window.ListView1->itemText(position));
    QVERIFY2(filtered.contains(QStringLiteral("http://albany.bazaarly.org/")), qPrintable(filtered.join(' ')));
    QCOMPARE(filtered.size(), 10); // the two Albanys, Albuquerque and the seven places of Alberta
}

QTEST_MAIN(tst_ShippedCatalogue)
#include "tst_shippedcatalogue.moc"
