// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/UrlOpener.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <optional>

// The desktop's opener, judged by what it did: with nothing on the search path that opens web addresses, and with
// stand-in xdg-open programs that answer as the real one does.
class tst_UrlOpener : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void addressNobodyOpensIsReported_data();
    void addressNobodyOpensIsReported();
    void openerIsJudgedByItsExitStatus_data();
    void openerIsJudgedByItsExitStatus();
    void nothingIsToldOnceTheOwnerIsGone();

private:
    // Puts an xdg-open whose body is `script` in a folder of `folderName`, first on the search path.
    void standInOpener(const QString& folderName, const QByteArray& script);
    // Opens the address and waits for the answer.
    std::optional<OpeningFailure> opened(const QUrl& address);

    std::unique_ptr<QTemporaryDir> m_folder;
};

void tst_UrlOpener::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    qputenv("PATH", "/nonexistent");
    qunsetenv("BROWSER");
    qunsetenv("DEFAULT_BROWSER");
}

void tst_UrlOpener::standInOpener(const QString& folderName, const QByteArray& script)
{
    const QString folder = m_folder->filePath(folderName);
    QVERIFY(QDir().mkpath(folder));
    QFile opener(folder + QStringLiteral("/xdg-open"));
    QVERIFY(opener.open(QIODevice::WriteOnly));
    opener.write("#!/bin/sh\n" + script + "\n");
    opener.setPermissions(opener.permissions() | QFileDevice::ExeOwner);
    qputenv("PATH", QFile::encodeName(folder) + ":/usr/bin:/bin"); // first, before any real one
}

std::optional<OpeningFailure> tst_UrlOpener::opened(const QUrl& address)
{
    QObject owner;
    bool told = false;
    std::optional<OpeningFailure> answer;
    openWithDesktop(address, owner, [&](const std::optional<OpeningFailure>& failure) {
        told = true;
        answer = failure;
    });
    if (!QTest::qWaitFor([&] { return told; }, 10'000))
        qFatal("the opener never answered");
    return answer;
}

void tst_UrlOpener::addressNobodyOpensIsReported_data()
{
    QTest::addColumn<QUrl>("address");
    QTest::addColumn<QString>("named");
    QTest::newRow("a search address") << QUrl(QStringLiteral("https://www.google.com/search?q=desk%20site:x"))
                                      << QStringLiteral("https://www.google.com/search?q=desk%20site:x");
    QTest::newRow("an address too long to show whole")
        << QUrl(QStringLiteral("https://www.google.com/search?q=") + QString(100'000, QLatin1Char('a')))
        << QStringLiteral("https://www.google.com/search?q=aaaa");
}

void tst_UrlOpener::addressNobodyOpensIsReported()
{
    QFETCH(QUrl, address);
    QFETCH(QString, named);
    const std::optional<OpeningFailure> failure = opened(address);
    QVERIFY(failure);
    QVERIFY2(failure->description.contains(named), qPrintable(failure->description.left(300)));
    QVERIFY(failure->description.contains(QStringLiteral("xdg-open")));
    QVERIFY(failure->description.size() < 400);
    QVERIFY(failure->concernsEveryAddress);
}

void tst_UrlOpener::openerIsJudgedByItsExitStatus_data()
{
    QTest::addColumn<QString>("folderName");
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QString>("failure"); // a part of the failure's description; empty when the address is taken
    QTest::addColumn<bool>("concernsEveryAddress");
    const QByteArray recorder = "printf '%s\\n' \"$#\" \"$@\" >\"$(dirname \"$0\")/arguments\"";
    QTest::newRow("an opener that hands the address over") << "bin" << recorder + "\nexit 0" << QString() << false;
    QTest::newRow("an opener in a folder whose name holds blanks")
        << "my opener folder/bin x" << recorder + "\nexit 0" << QString() << false;
    QTest::newRow("no method available (status 3)")
        << "bin" << QByteArray("exit 3") << "no program that opens web addresses" << true;
    QTest::newRow("the browser failed (status 4)") << "bin" << QByteArray("exit 4") << "failed" << true;
    QTest::newRow("another status") << "bin" << QByteArray("exit 1") << "status 1" << true;
    QTest::newRow("an opener that crashes") << "bin" << QByteArray("kill -SEGV $$") << "crashed" << true;
    QTest::newRow("an opener that cannot be run") << "bin"
                                                  << QByteArray("\x7f"
                                                                "ELF")
                                                  << "cannot be started" << true;
    QTest::newRow("an address longer than a program argument may be") << "bin" << recorder + "\nexit 0"
                                                                      << "too long" << false;
}

void tst_UrlOpener::openerIsJudgedByItsExitStatus()
{
    QFETCH(QString, folderName);
    QFETCH(QByteArray, script);
    QFETCH(QString, failure);
    QFETCH(bool, concernsEveryAddress);
    standInOpener(folderName, script);
    if (failure == QLatin1String("cannot be started")) { // not a script: a program the system cannot run
        QFile opener(m_folder->filePath(folderName + QStringLiteral("/xdg-open")));
        QVERIFY(opener.open(QIODevice::WriteOnly | QIODevice::Truncate));
        opener.write(script);
    }
    const QString query = failure == QLatin1String("too long") ? QString(200'000, QLatin1Char('a'))
                                                               : QStringLiteral("a b&c \"d\" $(e) site:x.org");
    const QUrl address(QStringLiteral("https://www.google.com/search?q=") + query);
    const std::optional<OpeningFailure> answer = opened(address);
    if (failure.isEmpty()) {
        QVERIFY2(!answer, answer ? qPrintable(answer->description) : "");
        QFile arguments(m_folder->filePath(folderName + QStringLiteral("/arguments")));
        QVERIFY(arguments.open(QIODevice::ReadOnly));
        QCOMPARE(arguments.readAll(), "1\n" + address.toEncoded() + "\n"); // the address, as one argument
        return;
    }
    QVERIFY(answer);
    QVERIFY2(answer->description.contains(failure), qPrintable(answer->description.left(300)));
    QVERIFY(answer->description.contains(QStringLiteral("https://www.google.com/search?q=")));
    QCOMPARE(answer->concernsEveryAddress, concernsEveryAddress);
    QVERIFY(!QFile::exists(m_folder->filePath(folderName + QStringLiteral("/arguments"))));
}

void tst_UrlOpener::nothingIsToldOnceTheOwnerIsGone()
{
    // The opener notes its process so that the test can wait for its end, whether it finishes or is ended.
    const QString noted = m_folder->filePath(QStringLiteral("pid"));
    standInOpener(QStringLiteral("bin"), "echo $$ > '" + QFile::encodeName(noted) + "'; sleep 0.2");
    bool told = false;
    {
        QObject owner;
        openWithDesktop(QUrl(QStringLiteral("https://www.google.com/search?q=x")), owner,
                        [&](const std::optional<OpeningFailure>&) { told = true; });
        QTRY_VERIFY(QFileInfo(noted).size() > 0);
    }
    QFile pid(noted);
    QVERIFY(pid.open(QIODevice::ReadOnly));
    const QString process = QStringLiteral("/proc/") + QString::fromLatin1(pid.readAll().trimmed());
    const auto ended = [&] { // gone, or a zombie, with no command line
        QFile commandLine(process + QStringLiteral("/cmdline"));
        return !commandLine.open(QIODevice::ReadOnly) || commandLine.readAll().isEmpty();
    };
    QTRY_VERIFY(ended());
    QCoreApplication::processEvents(); // anything its end would have told
    QVERIFY(!told);
}

QTEST_MAIN(tst_UrlOpener)
#include "tst_urlopener.moc"
