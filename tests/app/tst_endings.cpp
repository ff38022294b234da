// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestDisplays.h"
#include "TestEnvironment.h"

#include "app/ProgramNames.h"
#include "searches/SearchQuery.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <memory>
#include <vector>

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

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
    void crashSignalKeepsItsDefault_data();
    void crashSignalKeepsItsDefault();
    void brokenPipeDoesNotEndTheProgram();
    void fileSizeLimitDoesNotEndTheSaveHalfWay();
    void secondStartHandsOverToTheRunningWindow_data();
    void secondStartHandsOverToTheRunningWindow();
    void silentPeersNeitherExhaustNorBlockTheProgram();
    void displayGoingAwaySavesTheList();
    void waylandCompositorGoingAwaySavesTheList();
    void startWithoutAUsableDisplayEndsPlainly_data();
    void startWithoutAUsableDisplayEndsPlainly();
    void helpAndVersionAnswerWithoutAWindow_data();
    void tooFewOpenFilesAreRaisedOrEndPlainly_data();
    void tooFewOpenFilesAreRaisedOrEndPlainly();
    void helpAndVersionAnswerWithoutAWindow();
    void closeHeldUpByAFailedSaveEndsOnTheNextRequest();
    void editSurvivesAKill();
    void closeOnAFullDiskKeepsTheStoredListAndTheEdits();

private:
    std::unique_ptr<QProcess> start(const QString& display = QString(), const QString& configHome = QString());
    std::unique_ptr<QProcess> start(const QProcessEnvironment& environment, rlim_t fileSizeLimit = RLIM_INFINITY);
    QProcessEnvironment environmentFor(const QString& display = QString(), const QString& configHome = QString()) const;
    QString settingsFile() const;
    void pressKeys(const QProcess& program, const QStringList& keys);
    bool reportIsUp() const;
    int xdotool(const QStringList& arguments) const;
    void endPastTheReport(QProcess& program);
    void waitUntilUp(QProcess& program);
    void endWith(QProcess& program, int signal);
    QString storedValue() const;
    void storeValue(const QString& value) const;

    std::unique_ptr<QTemporaryDir> m_home;
    QTemporaryDir m_tools; // a stand-in for the desktop's opener, for the home page now and then
    std::unique_ptr<TestXServer> m_server;
    QString m_display;
    std::unique_ptr<DisplayWithoutServer> m_noServer;
};

// Stored by hand without the final bar: the program restores both items and writes them back with it, so the
// value changes only if the program really saved.
static const QString kStoredByHand = QStringLiteral("bike site:albany.bazaarly.org|desk site:x");
static const QString kSavedByTheProgram = kStoredByHand + QLatin1Char('|');

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
    writeStandInOpener(m_tools.path());
    m_server = std::make_unique<TestXServer>();
    m_display = m_server->name();
    QVERIFY2(!m_display.isEmpty(), "no X server could be started on a display of BAZAARLY_TEST_DISPLAYS");
    m_noServer = std::make_unique<DisplayWithoutServer>();
}

void tst_Endings::cleanupTestCase()
{
    m_server.reset();
    m_noServer.reset();
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

static QString storedIn(const QString& configHome)
{
    return QSettings(ProgramNames::settingsFileIn(configHome), QSettings::IniFormat)
        .value(QStringLiteral("Searches"))
        .toString();
}

QString tst_Endings::storedValue() const
{
    return storedIn(m_home->path());
}

void tst_Endings::storeValue(const QString& value) const
{
    QSettings(settingsFile(), QSettings::IniFormat).setValue(QStringLiteral("Searches"), value);
}

QString tst_Endings::settingsFile() const
{
    return ProgramNames::settingsFileIn(m_home->path());
}

std::unique_ptr<QProcess> tst_Endings::start(const QString& display, const QString& configHome)
{
    return start(environmentFor(display, configHome));
}

// Started without leaving a core file behind, for the signals that ask for one, and under the file size limit.
std::unique_ptr<QProcess> tst_Endings::start(const QProcessEnvironment& environment, rlim_t fileSizeLimit)
{
    auto program = std::make_unique<QProcess>();
    program->setProcessEnvironment(environment);
    program->setChildProcessModifier([fileSizeLimit] {
        const rlimit noCore = {0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        const rlimit fileSize = {fileSizeLimit, fileSizeLimit};
        ::setrlimit(RLIMIT_FSIZE, &fileSize);
    });
    program->start(QStringLiteral(BAZAARLY_EXECUTABLE), {});
    return program;
}

QProcessEnvironment tst_Endings::environmentFor(const QString& display, const QString& configHome) const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("DISPLAY"), display.isEmpty() ? m_display : display);
    environment.insert(QStringLiteral("PATH"),
                       m_tools.path() + QLatin1Char(':') + environment.value(QStringLiteral("PATH")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome.isEmpty() ? m_home->path() : configHome);
    environment.insert(QStringLiteral("HOME"), m_home->path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home->filePath(QStringLiteral("runtime")));
    return environment;
}

void tst_Endings::waitUntilUp(QProcess& program)
{
    QVERIFY(program.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(signalsSetUp(program.processId()), 10000);
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
    QTest::newRow("SIGTERM saves") << int(SIGTERM);
    QTest::newRow("SIGINT saves") << int(SIGINT);
    QTest::newRow("SIGHUP saves") << int(SIGHUP);
    QTest::newRow("SIGUSR1 saves") << int(SIGUSR1);
    QTest::newRow("SIGUSR2 saves") << int(SIGUSR2);
    QTest::newRow("SIGALRM saves") << int(SIGALRM);
    QTest::newRow("SIGVTALRM saves") << int(SIGVTALRM);
    QTest::newRow("SIGPROF saves") << int(SIGPROF);
    QTest::newRow("SIGXCPU from a CPU time limit saves") << int(SIGXCPU);
    QTest::newRow("SIGXFSZ sent by another program saves") << int(SIGXFSZ);
    QTest::newRow("SIGPWR saves") << int(SIGPWR);
    QTest::newRow("SIGIO saves") << int(SIGIO);
    QTest::newRow("SIGSTKFLT saves") << int(SIGSTKFLT);
    QTest::newRow("the first real-time signal saves") << int(SIGRTMIN);
    QTest::newRow("the last real-time signal saves") << int(SIGRTMAX);
}

void tst_Endings::terminationSignalSavesTheList()
{
    QFETCH(int, signal);
    const std::unique_ptr<QProcess> program = start();
    QVERIFY(program->waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(catchesSignal(program->processId(), signal), 10000);
    endWith(*program, signal);
    QCOMPARE(storedValue(), kSavedByTheProgram);
}

void tst_Endings::crashSignalKeepsItsDefault_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGQUIT dumps a core unsaved") << int(SIGQUIT);
    QTest::newRow("SIGABRT dumps a core unsaved") << int(SIGABRT);
    QTest::newRow("SIGSEGV dumps a core unsaved") << int(SIGSEGV);
    QTest::newRow("SIGBUS dumps a core unsaved") << int(SIGBUS);
    QTest::newRow("SIGILL dumps a core unsaved") << int(SIGILL);
    QTest::newRow("SIGFPE dumps a core unsaved") << int(SIGFPE);
    QTest::newRow("SIGTRAP dumps a core unsaved") << int(SIGTRAP);
    QTest::newRow("SIGSYS dumps a core unsaved") << int(SIGSYS);
}

// A crash or a core dump was asked for: the program neither ignores the signal nor turns it into a save (a
// sanitizer build may catch a few of them itself, to report the crash, and ends just the same).
void tst_Endings::crashSignalKeepsItsDefault()
{
    QFETCH(int, signal);
    const std::unique_ptr<QProcess> program = start();
    waitUntilUp(*program);
    QVERIFY(!hasSignalIn("SigIgn", program->processId(), signal));
    QVERIFY(sendSignal(*program, signal));
    QVERIFY(program->waitForFinished(20000));
    QCOMPARE(program->exitStatus(), QProcess::CrashExit);
    QCOMPARE(storedValue(), kStoredByHand);
}

// A SIGPIPE that ended the program would end it before the SIGTERM sent after it is handled: the save that
// SIGTERM asks for proves that the program lived on.
void tst_Endings::brokenPipeDoesNotEndTheProgram()
{
    const std::unique_ptr<QProcess> program = start();
    QVERIFY(program->waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(hasSignalIn("SigIgn", program->processId(), SIGPIPE), 10000);
    QVERIFY(sendSignal(*program, SIGPIPE));
    endWith(*program, SIGTERM);
    QCOMPARE(storedValue(), kSavedByTheProgram);
}

// A save that grows the file past the size limit (ulimit -f) makes the kernel send the program SIGXFSZ; that
// signal is not a request to end from outside, and must not kill the program in the middle of its save, nor
// end it on the spot once the close is under way.
void tst_Endings::fileSizeLimitDoesNotEndTheSaveHalfWay()
{
    storeValue(QStringList(3000, QStringLiteral("bike site:albany.bazaarly.org")).join(QLatin1Char('|')));
    const std::unique_ptr<QProcess> program = start(environmentFor(), 32 * 1024);
    waitUntilUp(*program);
    endPastTheReport(*program);
    QCOMPARE(program->exitStatus(), QProcess::NormalExit);
}

void tst_Endings::secondStartHandsOverToTheRunningWindow_data()
{
    // How the second start differs from the first: its runtime folder, and what follows the configuration
    // folder's name in its spelling (a slash, or "-link" for a symbolic link to it).
    QTest::addColumn<QString>("runtimeFolder");
    QTest::addColumn<QString>("configFolder");
    QTest::newRow("in the same session") << QStringLiteral("runtime") << QString();
    QTest::newRow("in another session, with a runtime folder of its own")
        << QStringLiteral("other-runtime") << QString();
    QTest::newRow("in a session without a runtime folder") << QString() << QString();
    QTest::newRow("with a trailing slash on the configuration folder")
        << QStringLiteral("runtime") << QStringLiteral("/");
    QTest::newRow("with the home reached through a symbolic link, from another session")
        << QStringLiteral("other-runtime") << QStringLiteral("-link");
}

void tst_Endings::secondStartHandsOverToTheRunningWindow()
{
    QFETCH(QString, runtimeFolder);
    QFETCH(QString, configFolder);
    const QString home = m_home->path();
    QVERIFY(QFile::link(home, home + QLatin1String("-link")));
    const auto removeLink = qScopeGuard([&] { QFile::remove(home + QLatin1String("-link")); });
    QVERIFY(QDir(home).mkpath(QStringLiteral("other-runtime")));

    const std::unique_ptr<QProcess> first = start();
    waitUntilUp(*first);
    QProcessEnvironment elsewhere = environmentFor();
    elsewhere.insert(QStringLiteral("XDG_CONFIG_HOME"), home + configFolder);
    if (runtimeFolder.isEmpty())
        elsewhere.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    else
        elsewhere.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home->filePath(runtimeFolder));
    const std::unique_ptr<QProcess> second = start(elsewhere);
    QVERIFY(second->waitForFinished(20000));
    QCOMPARE(second->exitCode(), 0);
    QCOMPARE(storedValue(), kStoredByHand); // the second start wrote nothing
    QCOMPARE(first->state(), QProcess::Running);
    endWith(*first, SIGTERM);
    QCOMPARE(storedValue(), kSavedByTheProgram);

    const std::unique_ptr<QProcess> afterwards = start(elsewhere); // the lock went with the first
    waitUntilUp(*afterwards);
    endWith(*afterwards, SIGTERM);
}

// A connection to the socket at `address` that says nothing, or -1 while the queue of connections waiting to be
// taken is full.
static int silentPeer(const QByteArray& address)
{
    const int peer = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_un name = {};
    name.sun_family = AF_UNIX;
    qstrncpy(name.sun_path, address.constData(), sizeof name.sun_path);
    if (::connect(peer, reinterpret_cast<const sockaddr*>(&name), sizeof name) == 0)
        return peer;
    ::close(peer);
    return -1;
}

// Peers that connect and say nothing are dropped after a moment, and only a few are heard at once: 400 of them
// hold none of the program's descriptors for long, a real start is still answered, and the close still saves.
void tst_Endings::silentPeersNeitherExhaustNorBlockTheProgram()
{
    const std::unique_ptr<QProcess> program = start();
    waitUntilUp(*program);
    const QByteArray address = QFile::encodeName(settingsFile() + QLatin1String(".instance.socket"));
    QTRY_VERIFY(QFileInfo(QFile::decodeName(address)).exists());
    std::vector<int> peers;
    const auto closePeers = qScopeGuard([&] {
        for (const int peer : peers)
            ::close(peer);
    });
    QDeadlineTimer deadline(20000);
    while (peers.size() < 400 && !deadline.hasExpired()) {
        const int peer = silentPeer(address);
        if (peer >= 0)
            peers.push_back(peer);
        else
            QTest::qWait(10); // until the program takes the waiting ones
    }
    QCOMPARE(peers.size(), size_t(400));
    // Each is dropped once its moment has passed.
    const QString descriptors = QStringLiteral("/proc/%1/fd").arg(program->processId());
    QTRY_VERIFY2_WITH_TIMEOUT(QDir(descriptors).count() < 100, qPrintable(QString::number(QDir(descriptors).count())),
                              10000);

    const std::unique_ptr<QProcess> second = start();
    QVERIFY(second->waitForFinished(20000));
    QCOMPARE(second->exitCode(), 0);
    endWith(*program, SIGTERM);
    QCOMPARE(storedValue(), kSavedByTheProgram);
}

void tst_Endings::displayGoingAwaySavesTheList()
{
    TestXServer server;
    QVERIFY(!server.name().isEmpty());
    const std::unique_ptr<QProcess> program = start(server.name());
    waitUntilUp(*program);
    server.kill();
    QVERIFY(program->waitForFinished(20000));
    QCOMPARE(program->exitStatus(), QProcess::NormalExit);
    QCOMPARE(storedValue(), kSavedByTheProgram);
}

// Qt's Wayland plugin ends the program with _exit() when the compositor goes away; the list is saved first, as
// when an X server goes away. In a headless Weston of its own, where one can start.
void tst_Endings::waylandCompositorGoingAwaySavesTheList()
{
    const QString weston = QStandardPaths::findExecutable(QStringLiteral("weston"));
    if (weston.isEmpty())
        QSKIP("Weston is not installed.");
    QProcess compositor;
    QProcessEnvironment environment = environmentFor();
    compositor.setProcessEnvironment(environment);
    compositor.start(weston, {QStringLiteral("--backend=headless-backend.so"), QStringLiteral("--socket=wl-test"),
                              QStringLiteral("--idle-time=0")});
    const QString socket = m_home->filePath(QStringLiteral("runtime/wl-test"));
    if (!compositor.waitForStarted() || !QTest::qWaitFor([&] { return QFile::exists(socket); }, 10000)) {
        compositor.kill();
        compositor.waitForFinished();
        QSKIP("Weston cannot start here.");
    }
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    environment.insert(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("wl-test"));
    environment.remove(QStringLiteral("DISPLAY"));
    const std::unique_ptr<QProcess> program = start(environment);
    QVERIFY(program->waitForStarted());
    if (program->waitForFinished(2000) && program->readAllStandardError().contains("is not installed here")) {
        compositor.kill();
        compositor.waitForFinished();
        QSKIP("Qt's Wayland platform is not installed.");
    }
    waitUntilUp(*program);
    QTest::qWait(1000); // the window shown and the list restored
    compositor.terminate();
    QVERIFY(compositor.waitForFinished(10000));
    QVERIFY(program->waitForFinished(20000));
    QCOMPARE(program->exitStatus(), QProcess::NormalExit);
    QCOMPARE(storedValue(), kSavedByTheProgram);
}

void tst_Endings::startWithoutAUsableDisplayEndsPlainly_data()
{
    QTest::addColumn<QStringList>("variables");
    QTest::addColumn<QString>("saysWhy");
    QTest::newRow("no display at all") << QStringList() << QStringLiteral("none was found");
    const QString none = m_noServer->name();
    QVERIFY(!none.isEmpty());
    QTest::newRow("a DISPLAY with no X server behind it")
        << QStringList{QStringLiteral("DISPLAY=") + none} << QStringLiteral("does not answer (DISPLAY=%1)").arg(none);
    QTest::newRow("an X display asked for, with no X server behind it")
        << QStringList{QStringLiteral("QT_QPA_PLATFORM=xcb"), QStringLiteral("DISPLAY=") + none}
        << QStringLiteral("does not answer (QT_QPA_PLATFORM=xcb, DISPLAY=%1)").arg(none);
    QTest::newRow("a WAYLAND_DISPLAY naming nothing")
        << QStringList{QStringLiteral("WAYLAND_DISPLAY=nothing-here")}
        << QStringLiteral("does not answer (WAYLAND_DISPLAY=nothing-here)");
    QTest::newRow("a nonsense QT_QPA_PLATFORM")
        << QStringList{QStringLiteral("QT_QPA_PLATFORM=nonsense")}
        << QStringLiteral("the display platform \"nonsense\" is not installed here");
}

void tst_Endings::startWithoutAUsableDisplayEndsPlainly()
{
    QFETCH(QStringList, variables);
    QFETCH(QString, saysWhy);
    QProcessEnvironment environment = environmentFor();
    for (const char* name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"})
        environment.remove(QString::fromLatin1(name));
    for (const QString& variable : variables)
        environment.insert(variable.section(QLatin1Char('='), 0, 0), variable.section(QLatin1Char('='), 1));
    const std::unique_ptr<QProcess> program = start(environment);
    QVERIFY(program->waitForFinished(20000));
    QCOMPARE(program->exitStatus(), QProcess::NormalExit);
    QCOMPARE(program->exitCode(), EXIT_FAILURE);
    const QString said = QString::fromLocal8Bit(program->readAllStandardError());
    QVERIFY2(said.startsWith(QLatin1String("BazaarlySearch")) && said.contains(saysWhy), qPrintable(said));
    QVERIFY2(said.count(QLatin1Char('\n')) == 1, qPrintable(said)); // one plain line, none of Qt's own
    QCOMPARE(storedValue(), kStoredByHand);
}

void tst_Endings::helpAndVersionAnswerWithoutAWindow_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("firstLine"); // of standard output, or of standard error when it fails
    QTest::newRow("--help") << QStringList{"--help"} << 0 << "Usage: bazaarly-search [--help | --version]";
    QTest::newRow("--version") << QStringList{"--version"} << 0 << "BazaarlySearch " BAZAARLY_VERSION;
    QTest::newRow("the first of the two wins")
        << QStringList{"x", "--version", "--help"} << 0 << "BazaarlySearch " BAZAARLY_VERSION;
    QTest::newRow("any other argument is ignored: the window is started")
        << QStringList{"--frobnicate"} << int(EXIT_FAILURE)
        << "BazaarlySearch needs a graphical display; none was found (start it with xvfb-run to use a virtual one).";
}

void tst_Endings::helpAndVersionAnswerWithoutAWindow()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, firstLine);
    QProcessEnvironment environment = environmentFor();
    for (const char* name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"}) // no window could open
        environment.remove(QString::fromLatin1(name));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(BAZAARLY_EXECUTABLE), arguments);
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), exitCode);
    const QByteArray said = exitCode == 0 ? program.readAllStandardOutput() : program.readAllStandardError();
    QCOMPARE(QString::fromUtf8(said).section(QLatin1Char('\n'), 0, 0), firstLine);
    QCOMPARE(storedValue(), kStoredByHand);
}

void tst_Endings::tooFewOpenFilesAreRaisedOrEndPlainly_data()
{
    QTest::addColumn<int>("soft");
    QTest::addColumn<int>("hard");
    QTest::newRow("a low limit that may be raised is raised, and the program runs") << 16 << 4096;
    QTest::newRow("a limit too low to raise ends the program before its window") << 16 << 16;
}

void tst_Endings::tooFewOpenFilesAreRaisedOrEndPlainly()
{
    QFETCH(int, soft);
    QFETCH(int, hard);
    QProcess program;
    program.setProcessEnvironment(environmentFor());
    program.setChildProcessModifier([soft, hard] {
        const rlimit files = {rlim_t(soft), rlim_t(hard)};
        ::setrlimit(RLIMIT_NOFILE, &files);
    });
    program.start(QStringLiteral(BAZAARLY_EXECUTABLE), {});
    if (soft == hard) {
        QVERIFY(program.waitForFinished(20000));
        QCOMPARE(program.exitCode(), EXIT_FAILURE);
        const QString said = QString::fromLocal8Bit(program.readAllStandardError());
        QVERIFY2(said.startsWith(QLatin1String("BazaarlySearch needs to hold 64 files open at once, but may hold only "
                                               "16 (ulimit -n)")) &&
                     said.count(QLatin1Char('\n')) == 1,
                 qPrintable(said));
        QCOMPARE(storedValue(), kStoredByHand);
        return;
    }
    waitUntilUp(program);
    QFile limits(QStringLiteral("/proc/%1/limits").arg(program.processId()));
    QVERIFY(limits.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = limits.readAll().split('\n');
    const auto openFiles = std::find_if(lines.cbegin(), lines.cend(),
                                        [](const QByteArray& line) { return line.startsWith("Max open files"); });
    QVERIFY(openFiles != lines.cend());
    QCOMPARE(openFiles->simplified(), QByteArray("Max open files 4096 4096 files"));
    endWith(program, SIGTERM);
    QCOMPARE(storedValue(), kSavedByTheProgram);
}

void tst_Endings::closeHeldUpByAFailedSaveEndsOnTheNextRequest()
{
    // A folder in the place of the lock beside the store: the save fails and says so.
    QVERIFY(QDir().mkpath(settingsFile() + QStringLiteral(".lock")));
    const std::unique_ptr<QProcess> program = start();
    waitUntilUp(*program);
    endPastTheReport(*program);
    QCOMPARE(program->exitCode(), EXIT_FAILURE);
    QCOMPARE(storedValue(), kStoredByHand);
}

// Types into the program's window, given the keyboard focus (there is no window manager to give it).
void tst_Endings::pressKeys(const QProcess& program, const QStringList& keys)
{
    const int exitCode = xdotool(QStringList{QStringLiteral("search"), QStringLiteral("--sync"),
                                             QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                                             QString::number(program.processId()), QStringLiteral("windowfocus"),
                                             QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("10")} +
                                 keys);
    QCOMPARE(exitCode, 0);
}

// Whether a report of the program's is on the screen.
bool tst_Endings::reportIsUp() const
{
    return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                    QLatin1Char('^') + ProgramNames::kErrorReportTitle + QLatin1Char('$')}) == 0;
}

// xdotool's exit code on the test's X server; -1 when it did not run to its end.
int tst_Endings::xdotool(const QStringList& arguments) const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_display);
    QProcess xdotool;
    xdotool.setProcessEnvironment(environment);
    xdotool.start(QStringLiteral("xdotool"), arguments);
    return xdotool.waitForFinished(20000) && xdotool.exitStatus() == QProcess::NormalExit ? xdotool.exitCode() : -1;
}

// Asks the program to end. When the close's save fails, it says so in a report that nobody here closes: a second
// request, once the report is up, ends the program.
void tst_Endings::endPastTheReport(QProcess& program)
{
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        QSKIP("xdotool is not installed.");
    QVERIFY(sendSignal(program, SIGTERM));
    QTRY_VERIFY_WITH_TIMEOUT(program.state() == QProcess::NotRunning || reportIsUp(), 20000);
    if (program.state() == QProcess::Running)
        QVERIFY(sendSignal(program, SIGTERM));
    QVERIFY(program.waitForFinished(20000) || program.state() == QProcess::NotRunning);
}

void tst_Endings::editSurvivesAKill()
{
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        QSKIP("xdotool is not installed.");
    const std::unique_ptr<QProcess> program = start();
    waitUntilUp(*program);
    // From the filter box, six steps on to "Load Example/Sample Searches".
    pressKeys(*program, {"Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "space"});
    if (QTest::currentTestFailed())
        return;
    const QString edited = kSavedByTheProgram + kSampleQuery + QLatin1Char('|');
    QTRY_COMPARE_WITH_TIMEOUT(storedValue(), edited, 10000);
    program->kill();
    QVERIFY(program->waitForFinished(10000));
    QCOMPARE(storedValue(), edited);
}

void tst_Endings::closeOnAFullDiskKeepsTheStoredListAndTheEdits()
{
    // The settings on a disk of their own, full but for a little less room than the list needs.
    const QString disk = m_home->filePath(QStringLiteral("disk"));
    QVERIFY(QDir().mkpath(disk));
    const QString why = mountSmallDisk(disk, 64 * 1024);
    if (!why.isEmpty())
        QSKIP(qPrintable(why));
    QString stored;
    for (int i = 1; stored.size() < 20000; ++i)
        stored += QStringLiteral("item %1 site:x.org|").arg(i);
    stored.chop(1); // without the final bar, so that the close has something to write
    QSettings(ProgramNames::settingsFileIn(disk), QSettings::IniFormat).setValue(QStringLiteral("Searches"), stored);
    fillDiskLeaving(disk, 8 * 1024);

    const std::unique_ptr<QProcess> program = start(QString(), disk);
    waitUntilUp(*program);
    endPastTheReport(*program);
    QCOMPARE(storedIn(disk), stored);
    QFile recovery(m_home->filePath(QStringLiteral("Bazaarly searches not saved.txt")));
    QVERIFY(recovery.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(recovery.readAll()),
             QString(stored).replace(QLatin1Char('|'), QLatin1Char('\n')) + QLatin1Char('\n'));
    unmountSmallDisk(disk);
}

QTEST_GUILESS_MAIN(tst_Endings)
#include "tst_endings.moc"
