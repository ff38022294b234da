// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/look/FontFallback.h"

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
    void standInsAreNamedOnlyWhereTheSystemDrawsAnotherFace_data();
    void standInsAreNamedOnlyWhereTheSystemDrawsAnotherFace();
    void arialIsDrawnInItsFirstStandInWhenMissing();
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

void tst_FontFallback::standInsAreNamedOnlyWhereTheSystemDrawsAnotherFace_data()
{
    QTest::addColumn<QStringList>("standIns");
    QTest::addColumn<QString>("drawnFamily");
    QTest::addColumn<bool>("needed");
    const QStringList standIns{"Liberation Sans", "Arimo"};
    QTest::newRow("drawn in the first stand-in") << standIns << "Liberation Sans" << false;
    QTest::newRow("drawn in it, named with its foundry") << standIns << "liberation sans [1ASC]" << false;
    QTest::newRow("drawn in the second stand-in") << standIns << "Arimo" << true;
    QTest::newRow("drawn in a face of other widths") << standIns << "DejaVu Sans" << true;
    QTest::newRow("no stand-in installed") << QStringList{} << "DejaVu Sans" << false;
}

void tst_FontFallback::standInsAreNamedOnlyWhereTheSystemDrawsAnotherFace()
{
    QFETCH(QStringList, standIns);
    QFETCH(QString, drawnFamily);
    QFETCH(bool, needed);
    QCOMPARE(arialNeedsStandIns(standIns, drawnFamily), needed);
}

// Run once with the system's font configuration and once with one that draws Arial in DejaVu Sans: either way the
// window's fonts, made after the stand-ins are settled, are drawn in the first stand-in.
void tst_FontFallback::arialIsDrawnInItsFirstStandInWhenMissing()
{
    const QStringList standIns = arialStandIns(QFontDatabase::families());
    if (standIns.isEmpty())
        QSKIP("this machine has Arial, or no face to stand in for it");
    QFont askedFirst(QStringLiteral("Arial"));
    askedFirst.setPointSize(23); // a size no other font here has, so that its answer is the system's own
    const bool needed = arialNeedsStandIns(standIns, QFontInfo(askedFirst).family());

    QFont window(QStringLiteral("Arial"));
    window.setBold(true);
    useArialStandIns(window);
    useArialStandIns(window);
    // Qt keeps substitutes in lower case; asking twice adds nothing.
    QCOMPARE(QFont::substitutes(QStringLiteral("Arial")).join(u','), needed ? standIns.join(u',').toLower() : "");
    QFont later(QStringLiteral("Arial"));
    later.setBold(true);
    const QString drawnIn = QFontInfo(later).family();
    QVERIFY2(drawnIn.startsWith(standIns.first()), qPrintable(drawnIn)); // perhaps with its foundry
}

QTEST_MAIN(tst_FontFallback)
#include "tst_fontfallback.moc"
