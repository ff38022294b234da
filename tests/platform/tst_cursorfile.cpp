// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/base/Failure.h"
#include "platform/look/CursorFile.h"

#include <QFile>
#include <QTest>
#include <QtNumeric>

#include <limits>

class tst_CursorFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void shippedHandHasItsHotspotAtTheFingertip();
    void pictureNearestTheWantedSizeIsRead_data();
    void pictureNearestTheWantedSizeIsRead();
    void wantedSizeFollowsTheDesktopsArrow_data();
    void wantedSizeFollowsTheDesktopsArrow();
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

void tst_CursorFile::pictureNearestTheWantedSizeIsRead_data()
{
    QTest::addColumn<int>("wanted");
    QTest::addColumn<int>("size");
    QTest::addColumn<QPoint>("hotspot");
    QTest::newRow("32 pixels take the 32-pixel hand") << 32 << 32 << QPoint(8, 1);
    QTest::newRow("44 pixels take the 48-pixel hand") << 44 << 48 << QPoint(12, 1);
    QTest::newRow("40 pixels, as near to 32 as to 48, take the smaller") << 40 << 32 << QPoint(8, 1);
    QTest::newRow("more than the largest takes the largest") << 200 << 64 << QPoint(16, 2);
    QTest::newRow("less than the smallest takes the smallest") << 16 << 32 << QPoint(8, 1);
}

void tst_CursorFile::pictureNearestTheWantedSizeIsRead()
{
    QFETCH(int, wanted);
    QFETCH(int, size);
    QFETCH(QPoint, hotspot);
    const CursorPicture picture = readCursorPicture(m_hand, QStringLiteral("HAND-M.CUR"), wanted);
    QCOMPARE(picture.image.size(), QSize(size, size));
    QCOMPARE(picture.hotspot, hotspot);
    // Each picture is the hand drawn at its own size: the fingertip just below its hotspot, the corner beside it
    // clear.
    QVERIFY(qAlpha(picture.image.pixel(hotspot + QPoint(0, size / 32))) > 200);
    QCOMPARE(qAlpha(picture.image.pixel(size - 2, 1)), 0);
}

void tst_CursorFile::wantedSizeFollowsTheDesktopsArrow_data()
{
    QTest::addColumn<int>("arrow");
    QTest::addColumn<qreal>("scale");
    QTest::addColumn<int>("wanted");
    QTest::newRow("the usual 24-pixel arrow wants 32 pixels") << 24 << 1.0 << 32;
    QTest::newRow("a 48-pixel arrow wants 64") << 48 << 1.0 << 64;
    QTest::newRow("a known arrow outweighs the scale") << 24 << 2.0 << 32;
    QTest::newRow("with no known arrow, 200 % wants 64") << 0 << 2.0 << 64;
    QTest::newRow("a scale below 100 % still wants 32") << 0 << 0.5 << 32;
    QTest::newRow("the largest arrow XCURSOR_SIZE can name wants the largest picture")
        << std::numeric_limits<int>::max() << 1.0 << 1024;
    QTest::newRow("an absurd scale wants the largest picture") << 0 << 1e300 << 1024;
    QTest::newRow("an endless scale wants the largest picture") << 0 << qInf() << 1024;
    QTest::newRow("a scale that is no number wants 32") << 0 << qQNaN() << 32;
}

void tst_CursorFile::wantedSizeFollowsTheDesktopsArrow()
{
    QFETCH(int, arrow);
    QFETCH(qreal, scale);
    QFETCH(int, wanted);
    QCOMPARE(wantedCursorSize(arrow, scale), wanted);
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
    pastTheEnd[21] = '\x7f'; // the high byte of the first picture's offset
    QTest::newRow("a picture offset past the end") << pastTheEnd;
    QTest::newRow("a directory longer than the file") << QByteArray(m_hand).replace(4, 2, "\xff\x7f");
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
