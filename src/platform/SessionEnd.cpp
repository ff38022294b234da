// SPDX-License-Identifier: GPL-3.0-or-later
#include "SessionEnd.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <cstdlib>
#include <utility>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#if defined(Q_OS_WIN)
#include <QAbstractNativeEventFilter>
#include <windows.h>
#endif

namespace {

#if defined(Q_OS_UNIX)
// The self-pipe: the signal handler only writes a byte into one end; the event loop reads the other.
int g_signalSockets[2] = {-1, -1};

extern "C" void onTerminationSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_signalSockets[0], &byte, 1);
    errno = savedErrno;
}

void installSignalHandlers()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalSockets) != 0)
        qFatal("Cannot create the socket pair for termination signals");
    for (const int socket : g_signalSockets)
        ::fcntl(socket, F_SETFD, FD_CLOEXEC);
    // A burst of signals must never block the handler: bytes past the first few are not needed.
    ::fcntl(g_signalSockets[0], F_SETFL, ::fcntl(g_signalSockets[0], F_GETFL) | O_NONBLOCK);
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
}
#endif

// The object whose last chance an exit handler runs; there is one at a time, in main.
SessionEnd* g_lastChanceHolder = nullptr;

} // namespace

#if defined(Q_OS_WIN)
// Windows tells a program that the session is ending with WM_ENDSESSION; Qt does not pass it on as a close.
class SessionEnd::EndSessionFilter final : public QAbstractNativeEventFilter
{
public:
    explicit EndSessionFilter(SessionEnd& sessionEnd) : m_sessionEnd(sessionEnd) {}

    bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override
    {
        const auto* msg = static_cast<const MSG*>(message);
        if (msg->message == WM_ENDSESSION && msg->wParam)
            emit m_sessionEnd.endRequested();
        return false;
    }

private:
    SessionEnd& m_sessionEnd;
};
#endif

SessionEnd::SessionEnd(QObject* parent) : QObject(parent)
{
#if defined(Q_OS_UNIX)
    installSignalHandlers();
    m_notifier = std::make_unique<QSocketNotifier>(g_signalSockets[1], QSocketNotifier::Read);
    m_notifier->setEnabled(false);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &SessionEnd::readSignal);
#endif
}

SessionEnd::~SessionEnd()
{
    if (g_lastChanceHolder == this)
        g_lastChanceHolder = nullptr;
#if defined(Q_OS_WIN)
    if (m_endSessionFilter)
        QCoreApplication::instance()->removeNativeEventFilter(m_endSessionFilter.get());
#endif
}

void SessionEnd::watch()
{
    if (m_notifier)
        m_notifier->setEnabled(true);
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, &SessionEnd::endRequested);
#if defined(Q_OS_WIN)
    m_endSessionFilter = std::make_unique<EndSessionFilter>(*this);
    QCoreApplication::instance()->installNativeEventFilter(m_endSessionFilter.get());
#endif
}

void SessionEnd::onAbruptExit(std::function<void()> save)
{
    m_lastChance = std::move(save);
    static const bool registered = std::atexit(&SessionEnd::runLastChance) == 0;
    if (registered)
        g_lastChanceHolder = this;
}

void SessionEnd::runLastChance()
{
    if (SessionEnd* holder = std::exchange(g_lastChanceHolder, nullptr))
        holder->m_lastChance();
}

void SessionEnd::endAtOnce()
{
    std::_Exit(EXIT_FAILURE);
}

void SessionEnd::readSignal()
{
#if defined(Q_OS_UNIX)
    char byte = 0;
    [[maybe_unused]] const ssize_t read = ::read(g_signalSockets[1], &byte, 1);
    emit endRequested();
#endif
}
