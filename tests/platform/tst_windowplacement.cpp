// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/look/WindowPlacement.h"

#include <QTest>

class tst_WindowPlacement : public QObject
{
    Q_OBJECT

private slots:
    void windowIsCentredFrameAndAll_data();
    void windowIsCentredFrameAndAll();
};

void tst_WindowPlacement::windowIsCentredFrameAndAll_data()
{
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QPoint>("position");
    QTest::newRow("the title bar counts in the centring")
        << QRect(0, 0, 1024, 768) << QSize(538, 683) << QPoint(243, 42);
    QTest::newRow("a panel at the top moves the area down")
        << QRect(0, 32, 1024, 736) << QSize(538, 683) << QPoint(243, 58);
    QTest::newRow("a window taller than the area keeps its title bar on it")
        << QRect(0, 32, 1920, 1168) << QSize(1076, 1366) << QPoint(422, 32);
    QTest::newRow("a window wider than the area keeps its left edge on it")
        << QRect(1280, 0, 800, 600) << QSize(1076, 500) << QPoint(1280, 50);
}

void tst_WindowPlacement::windowIsCentredFrameAndAll()
{
    QFETCH(QRect, available);
    QFETCH(QSize, frame);
    QFETCH(QPoint, position);
    QCOMPARE(centredFramePosition(available, frame), position);
}

QTEST_GUILESS_MAIN(tst_WindowPlacement)
#include "tst_windowplacement.moc"
