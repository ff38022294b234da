// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

class tst_Main : public QObject
{
    Q_OBJECT

private slots:
    void applicationTitleDropsTheLastWord();
    void applicationTitleCutsUntilShortEnough_data();
    void applicationTitleCutsUntilShortEnough();
    void fileExists_data();
    void fileExists();
    void homePageAddress_data();
    void homePageAddress();
    void shippedHomePageIsBesideTheProgram();
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

void tst_Main::homePageAddress_data()
{
    QTest::addColumn<QString>("applicationFolder");
    QTest::addColumn<QString>("configured");
    QTest::addColumn<QUrl>("address");
    QTest::newRow("without a configured page the shipped one opens from the program's folder")
        << "/usr/lib/bazaarly-search"
        << "" << QUrl(QStringLiteral("file:///usr/lib/bazaarly-search/homepage/index.html"));
    QTest::newRow("a folder with blanks and accents becomes an encoded file address")
        << "/opt/Bazaarly Suché"
        << "" << QUrl(QStringLiteral("file:///opt/Bazaarly%20Such%C3%A9/homepage/index.html"));
    QTest::newRow("a configured web address opens as it was given")
        << "/usr/lib/bazaarly-search"
        << "https://shop.example.org/bazaarly?from=app#top"
        << QUrl(QStringLiteral("https://shop.example.org/bazaarly?from=app#top"));
    QTest::newRow("a configured bare host name opens over http")
        << "/usr/lib/bazaarly-search"
        << "www.example.org" << QUrl(QStringLiteral("http://www.example.org"));
    QTest::newRow("a configured local path opens as a file")
        << "/usr/lib/bazaarly-search"
        << "/usr/share/doc/bazaarly-search/index.html"
        << QUrl(QStringLiteral("file:///usr/share/doc/bazaarly-search/index.html"));
}

void tst_Main::homePageAddress()
{
    QFETCH(QString, applicationFolder);
    QFETCH(QString, configured);
    QFETCH(QUrl, address);
    QCOMPARE(Main::homePageAddress(applicationFolder, configured), address);
}

void tst_Main::shippedHomePageIsBesideTheProgram()
{
    // The build places the data files beside the program as an installation does.
    const QUrl shipped = Main::homePageAddress(QStringLiteral(BAZAARLY_PROGRAM_FOLDER), QString());
    QVERIFY2(QFile::exists(shipped.toLocalFile()), qPrintable(shipped.toString()));
}

QTEST_GUILESS_MAIN(tst_Main)
#include "tst_main.moc"
