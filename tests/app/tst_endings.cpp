// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>

// Every way of being asked to end saves the search list, and no way of ending loses it: through the real program.
class tst_Endings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void terminationSignalSavesTheList_data();
    void terminationSignalSavesTheList();
    void brokenPipeDoesNotEndTheProgram();
    void secondStartHandsOverToTheRunningWindow();
    void displayGoingAwaySavesTheList();
    void closeHeldUpByAFailedSaveEndsOnTheNextRequest();

private:
    void startDisplay(QProcess& server, QString& display);
    std::unique_ptr<QProcess> start(const QString& display = QString());
    void waitUntilUp(QProcess& program);
    void endWith(QProcess& program, int signal);
    QString storedValue() const;
    void storeValue(const QString& value) const;

    std::unique_ptr<QTemporaryDir> m_home;
    QTemporaryDir m_tools; // a stand-in for the desktop's opener, for the home page now and then
    QProcess m_server;
    QString m_display;
};

// Stored by hand without the final bar: the program restores both items and writes them back with it, so the
// value changes only if the program really saved.
static const QString kStoredByHand = QStringLiteral("bike site:albany.bazaarly.org|desk site:x");
static const QString kSavedByTheProgram = kStoredByHand + QLatin1Char('|');

// Whether the process has a handler of its own for the signal, as the kernel reports it: the program installs
// its handlers as it starts, so this says it is up.
static bool catchesSignal(qint64 pid, int signal)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signal - 1)) & 1;
    }
    return false;
}

// Sends the signal to the program alone: a process that has already ended has no id, and a signal to id 0
// would go to this test's whole process group.
static bool sendSignal(const QProcess& program, int signal)
{
    return program.processId() > 0 && ::kill(pid_t(program.processId()), signal) == 0;
}

// The program runs in a real X server, where the home page it opens on about one start in a hundred goes to the
// stand-in opener; without a desktop to open it, the start-up would wait on a report that nobody closes.
void tst_Endings::initTestCase()
{
    QFile opener(m_tools.filePath(QStringLiteral("xdg-open")));
    QVERIFY(opener.open(QIODevice::WriteOnly));
    opener.write("#!/bin/sh\nexit 0\n");
    opener.close();
    QVERIFY(opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    startDisplay(m_server, m_display);
}

void tst_Endings::cleanupTestCase()
{
    m_server.kill();
    m_server.waitForFinished();
}

// A display of its own, on a number that Xvfb picks and writes to the pipe.
void tst_Endings::startDisplay(QProcess& server, QString& display)
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty())
        QSKIP("Xvfb is not installed.");
    server.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                        QStringLiteral("tcp"), QStringLiteral("-noreset")});
    QVERIFY(server.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(server.canReadLine(), 10000);
    display = QLatin1Char(':') + QString::fromLatin1(server.readLine().trimmed());
}

void tst_Endings::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
    QVERIFY(QDir(m_home->path()).mkpath(QStringLiteral("runtime")));
    QVERIFY(QFile::setPermissions(m_home->filePath(QStringLiteral("runtime")),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    storeValue(kStoredByHand);
}

QString tst_Endings::storedValue() const
{
    return QSettings(m_home->filePath(QStringLiteral("Quillmark/Bazaarly Lookup Across Many Towns Utility.conf")),
                     QSettings::IniFormat)
        .value(QStringLiteral("Searches"))
        .toString();
}

void tst_Endings::storeValue(const QString& value) const
{
    QSettings(m_home->filePath(QStringLiteral("Quillmark/Bazaarly Lookup Across Many Towns Utility.conf")),
              QSettings::IniFormat)
        .setValue(QStringLiteral("Searches"), value);
}

std::unique_ptr<QProcess> tst_Endings::start(const QString& display)
{
    auto program = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("DISPLAY"), display.isEmpty() ? m_display : display);
    environment.insert(QStringLiteral("PATH"),
                       m_tools.path() + QLatin1Char(':') + environment.value(QStringLiteral("PATH")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home->path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home->filePath(QStringLiteral("runtime")));
    program->setProcessEnvironment(environment);
    program->start(QStringLiteral(BAZAARLY_EXECUTABLE), {});
    return program;
}

void tst_Endings::waitUntilUp(QProcess& program)
{
    QVERIFY(program.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(catchesSignal(program.processId(), SIGTERM), 10000);
}

// Sends the signal and expects the program to end the normal way.
void tst_Endings::endWith(QProcess& program, int signal)
{
    QVERIFY(sendSignal(program, signal));
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
}

void tst_Endings::terminationSignalSavesTheList_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("SIGHUP") << int(SIGHUP);
}

void tst_Endings::terminationSignalSavesTheList()
{
    QFETCH(int, signal);
    const std::unique_ptr<QProcess> program = start();
    waitUntilUp(*program);
    QVERIFY(catchesSignal(program->processId(), signal));
    endWith(*program, signal);
    QCOMPARE(storedValue(), kSavedByTheProgram);
}

void tst_Endings::brokenPipeDoesNotEndTheProgram()
{
    const std::unique_ptr<QProcess> program = start();
    waitUntilUp(*program);
    QVERIFY(sendSignal(*program, SIGPIPE));
    QVERIFY(!program->waitForFinished(500));
    endWith(*program, SIGTERM);
    QCOMPARE(storedValue(), kSavedByTheProgram);
}

void tst_Endings::secondStartHandsOverToTheRunningWindow()
{
    const std::unique_ptr<QProcess> first = start();
    waitUntilUp(*first);
    const std::unique_ptr<QProcess> second = start();
    QVERIFY(second->waitForFinished(20000));
    QCOMPARE(second->exitCode(), 0);
    QCOMPARE(storedValue(), kStoredByHand); // the second start wrote nothing
    QCOMPARE(first->state(), QProcess::Running);
    endWith(*first, SIGTERM);
    QCOMPARE(storedValue(), kSavedByTheProgram);

    const std::unique_ptr<QProcess> afterwards = start(); // the lock went with the first
    waitUntilUp(*afterwards);
    endWith(*afterwards, SIGTERM);
}

void tst_Endings::displayGoingAwaySavesTheList()
{
    QProcess server;
    QString display;
    startDisplay(server, display);
    const std::unique_ptr<QProcess> program = start(display);
    waitUntilUp(*program);
    server.kill();
    QVERIFY(server.waitForFinished(10000));
    QVERIFY(program->waitForFinished(20000));
    QCOMPARE(program->exitStatus(), QProcess::NormalExit);
    QCOMPARE(storedValue(), kSavedByTheProgram);
}

void tst_Endings::closeHeldUpByAFailedSaveEndsOnTheNextRequest()
{
    // A lock that can never be taken beside the store: the save fails after a few seconds and says so, in a
    // report that nobody closes.
    QVERIFY(
        QDir(m_home->path()).mkpath(QStringLiteral("Quillmark/Bazaarly Lookup Across Many Towns Utility.conf.lock")));
    const std::unique_ptr<QProcess> program = start();
    waitUntilUp(*program);
    // The first request starts the close; one that comes while its report is up ends the program.
    for (int request = 0; request < 20 && sendSignal(*program, SIGTERM); ++request)
        program->waitForFinished(1000);
    QCOMPARE(program->state(), QProcess::NotRunning);
    QCOMPARE(program->exitCode(), EXIT_FAILURE);
    QCOMPARE(storedValue(), kStoredByHand);
}

QTEST_GUILESS_MAIN(tst_Endings)
#include "tst_endings.moc"
