// SPDX-License-Identifier: GPL-3.0-or-later
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

// A process killed at any moment of a save leaves the old list or the new one in the store, never a torn one. The
// test counts the kills that landed while a save was under way, and fails if none did, since a kill between two
// saves would prove nothing.
class tst_CrashSafeSave : public QObject
{
    Q_OBJECT

private slots:
    void killedSaveLeavesAWholeValue();
};

void tst_CrashSafeSave::killedSaveLeavesAWholeValue()
{
    constexpr int kRounds = 40;
    const QString whole[] = {QString(1 << 20, QLatin1Char('a')) + QLatin1Char('|'),
                             QString(1 << 20, QLatin1Char('b')) + QLatin1Char('|')};
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("searches.ini"));
    QRandomGenerator random(20261207); // the same kill moments on every run
    int heldFirst = 0;
    int killedWhileWriting = 0;
    for (int round = 0; round < kRounds; ++round) {
        QProcess writer;
        writer.start(QStringLiteral(BAZAARLY_SETTINGS_WRITER), {path});
        QVERIFY(writer.waitForStarted());
        while (!writer.peek(1 << 16).contains("written")) // the first value is stored
            QVERIFY(writer.waitForReadyRead(20000));
        // The saves follow one another without a pause, each taking some 10 to 100 ms: a kill within the first
        // few tens of milliseconds lands in one of the first few, at a point of it that differs from round to round.
        QTest::qWait(int(random.bounded(60)));
        writer.kill();
        QVERIFY(writer.waitForFinished(20000));
        killedWhileWriting += writer.readAllStandardOutput().endsWith("writing\n") ? 1 : 0;
        const QString stored = QSettings(path, QSettings::IniFormat).value(QStringLiteral("Searches")).toString();
        QVERIFY2(stored == whole[0] || stored == whole[1],
                 qPrintable(QStringLiteral("round %1: %2 characters stored").arg(round).arg(stored.size())));
        heldFirst += stored == whole[0] ? 1 : 0;
    }
    qInfo("%d rounds, %d killed while writing: the store held the first list %d times and the second %d times", kRounds,
          killedWhileWriting, heldFirst, kRounds - heldFirst);
    QVERIFY(killedWhileWriting > 0);
}

QTEST_GUILESS_MAIN(tst_CrashSafeSave)
#include "tst_crashsafesave.moc"
