// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/process/TerminationSignals.h"

#include <QSignalSpy>
#include <QTemporaryFile>
#include <QTest>

#include <csignal>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

// The signal route in this process: what the handlers replace, what comes back, and a system that refuses it.
class tst_TerminationSignals : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void signalReachesTheEventLoop();
    void earlierActionsComeBackWithTheEnd_data();
    void earlierActionsComeBackWithTheEnd();
    void refusedSocketPairLeavesTheSignalsTheirActions();
};

namespace {

extern "C" void earlierHandler(int) {}

void (*handlerOf(int signal))(int)
{
    struct sigaction action = {};
    ::sigaction(signal, nullptr, &action);
    return action.sa_handler;
}

// Standard error, written into a file of the test's own while the object lives.
class CapturedStandardError final
{
public:
    CapturedStandardError()
    {
        QVERIFY(m_file.open());
        m_saved = ::dup(STDERR_FILENO);
        ::dup2(m_file.handle(), STDERR_FILENO);
    }
    ~CapturedStandardError()
    {
        ::dup2(m_saved, STDERR_FILENO);
        ::close(m_saved);
    }
    QByteArray text()
    {
        m_file.seek(0);
        return m_file.readAll();
    }

private:
    QTemporaryFile m_file;
    int m_saved = -1;
};

// No file can be opened while the object lives: the descriptors' limit stands at the lowest free one.
class NoFreeDescriptor final
{
public:
    NoFreeDescriptor()
    {
        ::getrlimit(RLIMIT_NOFILE, &m_before);
        const int lowestFree = ::open("/dev/null", O_RDONLY);
        ::close(lowestFree);
        rlimit limit = m_before;
        limit.rlim_cur = rlim_t(lowestFree);
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
    ~NoFreeDescriptor() { ::setrlimit(RLIMIT_NOFILE, &m_before); }

private:
    rlimit m_before = {};
};

} // namespace

void tst_TerminationSignals::init()
{
    for (const int signal : {SIGTERM, SIGRTMIN, SIGPIPE})
        std::signal(signal, earlierHandler);
}

void tst_TerminationSignals::cleanup()
{
    for (const int signal : {SIGTERM, SIGRTMIN, SIGPIPE})
        std::signal(signal, SIG_DFL);
}

void tst_TerminationSignals::signalReachesTheEventLoop()
{
    TerminationSignals route;
    QSignalSpy requested(&route, &TerminationSignals::endRequested);
    QVERIFY(requested.isValid());
    std::raise(SIGTERM); // before watch(): it waits
    QCoreApplication::processEvents();
    QCOMPARE(requested.count(), 0);
    route.watch();
    QTRY_COMPARE(requested.count(), 1);
}

void tst_TerminationSignals::earlierActionsComeBackWithTheEnd_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("a termination signal gets its earlier handler back") << SIGTERM;
    QTest::newRow("a real-time signal gets its earlier handler back") << int(SIGRTMIN);
    QTest::newRow("a broken pipe gets its earlier handler back") << SIGPIPE;
}

void tst_TerminationSignals::earlierActionsComeBackWithTheEnd()
{
    QFETCH(int, signal);
    {
        const TerminationSignals route;
        QVERIFY(handlerOf(signal) != earlierHandler);
    }
    QVERIFY(handlerOf(signal) == earlierHandler);
}

void tst_TerminationSignals::refusedSocketPairLeavesTheSignalsTheirActions()
{
    CapturedStandardError standardError;
    {
        const NoFreeDescriptor noFreeDescriptor;
        TerminationSignals route;
        route.watch();
        QVERIFY(handlerOf(SIGTERM) == earlierHandler);
        QVERIFY(handlerOf(SIGPIPE) == SIG_IGN); // a closed pipe still does not end the program
    }
    QVERIFY(handlerOf(SIGPIPE) == earlierHandler);
    const QByteArray said = standardError.text();
    QVERIFY2(said.contains("cannot save on a termination signal"), said.constData());
}

QTEST_GUILESS_MAIN(tst_TerminationSignals)
#include "tst_terminationsignals.moc"
