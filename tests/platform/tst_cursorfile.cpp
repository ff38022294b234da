#include "platform/CursorFile.h"
#include "platform/Failure.h"

#include <QFile>
#include <QTest>

class tst_CursorFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void shippedHandHasItsHotspotAtTheFingertip();
    void brokenCursorFails_data();
    void brokenCursorFails();

private:
    QByteArray m_hand;
};

void tst_CursorFile::initTestCase()
{
    QFile file(QStringLiteral(BAZAARLY_PICTURES "/HAND-M.CUR"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    m_hand = file.readAll();
}

void tst_CursorFile::shippedHandHasItsHotspotAtTheFingertip()
{
    const CursorPicture picture = readCursorPicture(m_hand, QStringLiteral("HAND-M.CUR"));
    QCOMPARE(picture.image.size(), QSize(32, 32));
    QCOMPARE(picture.hotspot, QPoint(8, 1));
    // The fingertip is drawn, opaque, just below the hotspot; the corner beside it is clear.
    QVERIFY(qAlpha(picture.image.pixel(8, 2)) > 200);
    QCOMPARE(qAlpha(picture.image.pixel(30, 1)), 0);
}

void tst_CursorFile::brokenCursorFails_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("an empty file") << QByteArray();
    QTest::newRow("a truncated cursor") << m_hand.left(200);
    QTest::newRow("only the header") << m_hand.left(22);
    QTest::newRow("an icon, not a cursor") << QByteArray(m_hand).replace(2, 1, "\x01");
    QTest::newRow("text") << QByteArray("this is not a cursor at all, just some words");
    QByteArray pastTheEnd = m_hand;
    pastTheEnd[18] = '\xff';
    QTest::newRow("a picture offset past the end") << pastTheEnd;
}

void tst_CursorFile::brokenCursorFails()
{
    QFETCH(QByteArray, bytes);
    try {
        readCursorPicture(bytes, QStringLiteral("HAND-M.CUR"));
        QFAIL("reading did not fail");
    } catch (const Failure& failure) {
        QVERIFY2(failure.description().contains(QStringLiteral("HAND-M.CUR")), qPrintable(failure.description()));
    }
}

QTEST_MAIN(tst_CursorFile)
#include "tst_cursorfile.moc"
