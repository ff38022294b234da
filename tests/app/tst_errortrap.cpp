// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ErrorTrap.h"
#include "platform/base/Failure.h"
#include "platform/desktop/ErrorReportBox.h"

#include <QTest>

#include <new>

class tst_ErrorTrap : public QObject
{
    Q_OBJECT

private slots:
    void reportTextIsExact();
    void reportShowsFourLines();
    void failureIsReportedOnceAndTheProcedureGoesOn();
    void eachReportNamesItsOwnLabel_data();
    void eachReportNamesItsOwnLabel();
};

void tst_ErrorTrap::reportTextIsExact()
{
    QCOMPARE(errorReportText(QStringLiteral("Index out of range"), QStringLiteral("PushButton7_Click"), 102),
             QStringLiteral("Index out of range\r\nin BazaarlySearch2017/04/05.Form1.PushButton7_Click at line 102"
                            "\r\rPlease email screenshot of this message to ") +
                 kSupportAddress);
}

void tst_ErrorTrap::reportShowsFourLines()
{
    // A lone CR does not break a line in a Qt label, so the box shows the text with real line breaks.
    const QString shown =
        displayedReportText(errorReportText(QStringLiteral("Broken"), QStringLiteral("Form_Load"), 136));
    QCOMPARE(shown.split(QLatin1Char('\n')),
             QStringList({QStringLiteral("Broken"),
                          QStringLiteral("in BazaarlySearch2017/04/05.Form1.Form_Load at line 136"), QString(),
                          QStringLiteral("Please email screenshot of this message to ") + kSupportAddress}));
}

void tst_ErrorTrap::failureIsReportedOnceAndTheProcedureGoesOn()
{
    QStringList reports;
    const ErrorTrap trap(
        QStringLiteral("Form_Load"), [&](QWidget*, const QString& text) { reports.append(text); }, nullptr);
    QStringList ran;
    QVERIFY(trap.run(100, [&] { ran.append(QStringLiteral("first")); }));
    QVERIFY(!trap.run(102, [&] {
        ran.append(QStringLiteral("second"));
        throw Failure(QStringLiteral("It broke"));
        ran.append(QStringLiteral("never"));
    }));
    QVERIFY(trap.run(104, [&] { ran.append(QStringLiteral("third")); }));
    QCOMPARE(ran, QStringList({"first", "second", "third"}));
    QCOMPARE(reports.size(), 1);
    QVERIFY(
        reports[0].startsWith(QStringLiteral("It broke\r\nin BazaarlySearch2017/04/05.Form1.Form_Load at line 102")));
}

// How a labelled statement comes to be reported.
enum class Way { Thrown, OutOfMemory, Reported };

void tst_ErrorTrap::eachReportNamesItsOwnLabel_data()
{
    QTest::addColumn<Way>("way");
    QTest::addColumn<QString>("description");
    QTest::newRow("a failure thrown in the statement") << Way::Thrown << QStringLiteral("It broke");
    QTest::newRow("a want of memory in the statement") << Way::OutOfMemory << kNotEnoughMemory;
    QTest::newRow("a notice reported without a failure") << Way::Reported << QStringLiteral("Saved, copy kept");
}

void tst_ErrorTrap::eachReportNamesItsOwnLabel()
{
    QFETCH(Way, way);
    QFETCH(QString, description);
    QStringList reports;
    const ErrorTrap trap(
        QStringLiteral("PushButton6_Click"), [&](QWidget*, const QString& text) { reports.append(text); }, nullptr);
    for (const int label : {102, 104}) {
        if (way == Way::Reported)
            trap.report(label, description);
        else
            QVERIFY(!trap.run(label, [&] {
                if (way == Way::Thrown)
                    throw Failure(description);
                throw std::bad_alloc();
            }));
    }
    QCOMPARE(reports, QStringList({errorReportText(description, QStringLiteral("PushButton6_Click"), 102),
                                   errorReportText(description, QStringLiteral("PushButton6_Click"), 104)}));
}

QTEST_GUILESS_MAIN(tst_ErrorTrap)
#include "tst_errortrap.moc"
