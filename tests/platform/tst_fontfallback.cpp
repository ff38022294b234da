// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FontFallback.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QTest>

// Which face stands in for Arial, the font the window is measured in.
class tst_FontFallback : public QObject
{
    Q_OBJECT

private slots:
    void metricCompatibleFacesComeFirst_data();
    void metricCompatibleFacesComeFirst();
    void arialIsDrawnInAStandInWhenMissing();
};

void tst_FontFallback::metricCompatibleFacesComeFirst_data()
{
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QStringList>("standIns");
    QTest::newRow("Arial itself needs no stand-in") << QStringList{"DejaVu Sans", "Arial", "Arimo"} << QStringList{};
    QTest::newRow("Liberation Sans comes before Arimo")
        << QStringList{"DejaVu Sans", "Arimo", "Liberation Sans"} << QStringList{"Liberation Sans", "Arimo"};
    QTest::newRow("without Liberation, Arimo and then Nimbus Sans")
        << QStringList{"Nimbus Sans", "DejaVu Sans", "Arimo"} << QStringList{"Arimo", "Nimbus Sans"};
    QTest::newRow("a family listed with its foundry still counts")
        << QStringList{"Nimbus Sans [UKWN]", "DejaVu Sans"} << QStringList{"Nimbus Sans"};
    QTest::newRow("only the last brackets are the foundry")
        << QStringList{"Arimo [x] [GOOG]", "FreeSans  [a [GNU]"} << QStringList{"FreeSans"};
    QTest::newRow("brackets before the end of a name are no foundry")
        << QStringList{"Arimo [GOOG] Pro", "Arimo]"} << QStringList{};
    QTest::newRow("with no compatible face the system chooses")
        << QStringList{"DejaVu Sans", "Noto Sans"} << QStringList{};
    QTest::newRow("a narrow cousin does not count")
        << QStringList{"Liberation Sans Narrow", "Nimbus Sans Narrow"} << QStringList{};
}

void tst_FontFallback::metricCompatibleFacesComeFirst()
{
    QFETCH(QStringList, installed);
    QFETCH(QStringList, standIns);
    QCOMPARE(arialStandIns(installed), standIns);
}

void tst_FontFallback::arialIsDrawnInAStandInWhenMissing()
{
    const QStringList standIns = arialStandIns(QFontDatabase::families());
    if (standIns.isEmpty())
        QSKIP("this machine has Arial, or no face to stand in for it");
    useArialStandIns();
    useArialStandIns();
    // Qt keeps substitutes in lower case; asking twice adds nothing.
    QCOMPARE(QFont::substitutes(QStringLiteral("Arial")).join(u','), standIns.join(u',').toLower());
    const QString drawnIn = QFontInfo(QFont(QStringLiteral("Arial"))).family();
    QVERIFY2(drawnIn.startsWith(standIns.first()), qPrintable(drawnIn)); // perhaps with its foundry
}

QTEST_MAIN(tst_FontFallback)
#include "tst_fontfallback.moc"
