// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/process/TerminationSignals.h"

#include <QSocketNotifier>

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {

#if defined(Q_OS_UNIX)
// The self-pipe: the signal handler only writes a byte into one end; the event loop reads the other.
int g_signalSockets[2] = {-1, -1};

// A file grown past the size limit (ulimit -f) raises SIGXFSZ in the writer itself; that write fails with EFBIG
// and the save reports it. Only a SIGXFSZ sent from outside asks the program to end.
bool raisedByOwnWrite(int signal, const siginfo_t* info)
{
    return signal == SIGXFSZ && info != nullptr && info->si_code == SI_USER && info->si_pid == ::getpid();
}

extern "C" void onTerminationSignal(int signal, siginfo_t* info, void*)
{
    if (raisedByOwnWrite(signal, info))
        return;
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_signalSockets[0], &byte, 1);
    errno = savedErrno;
}

// Every signal whose default action ends the process, save those that ask for a crash and its core dump on
// purpose (SIGQUIT, SIGABRT) or report one (SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGTRAP, SIGSYS), which keep
// their default: each saves before the end, a limit reached (SIGXCPU, SIGXFSZ) too.
std::vector<int> terminationSignals()
{
    std::vector<int> ending = {SIGTERM,   SIGINT,  SIGHUP,  SIGUSR1, SIGUSR2, SIGALRM,
                               SIGVTALRM, SIGPROF, SIGXCPU, SIGXFSZ, SIGIO};
#if defined(SIGPWR)
    ending.push_back(SIGPWR);
#endif
#if defined(SIGSTKFLT)
    ending.push_back(SIGSTKFLT);
#endif
#if defined(SIGRTMIN)
    for (int signal = SIGRTMIN; signal <= SIGRTMAX; ++signal)
        ending.push_back(signal);
#endif
    return ending;
}

#endif

} // namespace

#if defined(Q_OS_UNIX)
// The handlers and the socket pair they write to, for as long as the object lives; the signals' earlier
// actions come back with its end.
class TerminationSignals::SignalHandlers final
{
public:
    SignalHandlers()
    {
        struct sigaction ignore = {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        replaceAction(SIGPIPE, ignore);
        int sockets[2] = {-1, -1};
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0) {
            // Out of descriptors, say: the program runs on, and the signals keep their default actions.
            std::fprintf(stderr,
                         "BazaarlySearch cannot save on a termination signal: the socket pair for the signals cannot "
                         "be made (%s).\n",
                         std::strerror(errno));
            return;
        }
        g_signalSockets[0] = sockets[0];
        g_signalSockets[1] = sockets[1];
        // A burst of signals must never block the handler: bytes past the first few are not needed.
        ::fcntl(g_signalSockets[0], F_SETFL, ::fcntl(g_signalSockets[0], F_GETFL) | O_NONBLOCK);
        struct sigaction action = {};
        action.sa_sigaction = onTerminationSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART | SA_SIGINFO;
        for (const int signal : terminationSignals())
            replaceAction(signal, action);
    }

    // The handlers go before the sockets they write to.
    ~SignalHandlers()
    {
        for (const auto& [signal, earlier] : m_earlierActions)
            ::sigaction(signal, &earlier, nullptr);
        for (int& socket : g_signalSockets) {
            if (socket >= 0)
                ::close(std::exchange(socket, -1));
        }
    }

    SignalHandlers(const SignalHandlers&) = delete;
    SignalHandlers& operator=(const SignalHandlers&) = delete;

    // The end the event loop reads; -1 when there is no route for the signals.
    int readEnd() const { return g_signalSockets[1]; }

private:
    void replaceAction(int signal, const struct sigaction& action)
    {
        struct sigaction earlier = {};
        if (::sigaction(signal, &action, &earlier) == 0)
            m_earlierActions.emplace_back(signal, earlier);
    }

    std::vector<std::pair<int, struct sigaction>> m_earlierActions;
};
#endif

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent)
{
#if defined(Q_OS_UNIX)
    m_signalHandlers = std::make_unique<SignalHandlers>();
    if (m_signalHandlers->readEnd() < 0)
        return;
    m_notifier = std::make_unique<QSocketNotifier>(m_signalHandlers->readEnd(), QSocketNotifier::Read);
    m_notifier->setEnabled(false);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &TerminationSignals::readSignal);
#endif
}

TerminationSignals::~TerminationSignals() = default;

void TerminationSignals::watch()
{
    if (m_notifier)
        m_notifier->setEnabled(true);
}

void TerminationSignals::endAtOnce()
{
    std::_Exit(EXIT_FAILURE);
}

void TerminationSignals::readSignal()
{
#if defined(Q_OS_UNIX)
    char byte = 0;
    [[maybe_unused]] const ssize_t read = ::read(m_signalHandlers->readEnd(), &byte, 1);
    emit endRequested();
#endif
}
