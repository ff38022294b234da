#include "app/Main.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_Main : public QObject
{
    Q_OBJECT

private slots:
    void applicationTitleDropsTheLastWord();
    void applicationTitleCutsUntilShortEnough_data();
    void applicationTitleCutsUntilShortEnough();
    void fileExists_data();
    void fileExists();
};

void tst_Main::applicationTitleDropsTheLastWord()
{
    Main::SetApplicationTitle();
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Bazaarly Lookup Across Many Towns"));
}

void tst_Main::applicationTitleCutsUntilShortEnough_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("shortened");
    QTest::newRow("a short title still loses a word") << "Town Finder"
                                                      << "Town";
    QTest::newRow("a long title loses words until it fits 40") << "Alpha Bravo Charlie Delta Echo Foxtrot Golf Hotel"
                                                               << "Alpha Bravo Charlie Delta Echo Foxtrot";
    QTest::newRow("a title of one word is cut to nothing") << "Bazaarly"
                                                           << "";
}

void tst_Main::applicationTitleCutsUntilShortEnough()
{
    QFETCH(QString, title);
    QFETCH(QString, shortened);
    QCOMPARE(Main::shortenedApplicationTitle(title), shortened);
}

void tst_Main::fileExists_data()
{
    QTest::addColumn<QString>("relativePath");
    QTest::addColumn<bool>("exists");
    QTest::newRow("an ordinary file exists") << "HAND-M.CUR" << true;
    QTest::newRow("a missing file does not") << "missing.cur" << false;
    QTest::newRow("a file in a missing folder does not") << "nowhere/HAND-M.CUR" << false;
    QTest::newRow("the empty path does not") << "" << false;
}

void tst_Main::fileExists()
{
    QFETCH(QString, relativePath);
    QFETCH(bool, exists);
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("HAND-M.CUR")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QCOMPARE(Main::FileExists(relativePath.isEmpty() ? QString() : folder.filePath(relativePath)), exists);
}

QTEST_GUILESS_MAIN(tst_Main)
#include "tst_main.moc"
