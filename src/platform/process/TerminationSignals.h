// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;

// Reports the signals that would end the program from outside its window: on Unix every signal whose default
// action ends the process (SIGTERM, SIGINT, SIGHUP, SIGUSR1, SIGALRM, SIGXCPU, ...) but those that ask for or
// report a crash (SIGQUIT, SIGABRT, SIGSEGV, ...). Each becomes one endRequested signal, so the window can close
// the normal way and save the search list. Requests that come before watch() wait until then. SIGPIPE is
// ignored: a write to a closed pipe (standard error, a socket) fails instead of ending the program.
class TerminationSignals final : public QObject
{
    Q_OBJECT

public:
    // Installs the signal handlers at once, so no termination signal can end the program unsaved from here on.
    // When the system refuses the socket pair the handlers write to, says so on standard error and leaves the
    // signals their actions: the program runs on, without saving on them.
    explicit TerminationSignals(QObject* parent = nullptr);
    // Gives the signals back their earlier actions.
    ~TerminationSignals() override;

    // Starts delivering endRequested, including any request that came before.
    void watch();
    // Ends the process at once, without any further saving: for a request to end that comes while the program
    // is already closing and has shown why it could not save.
    [[noreturn]] static void endAtOnce();

signals:
    void endRequested();

private:
    void readSignal();

#if defined(Q_OS_UNIX)
    class SignalHandlers;
    std::unique_ptr<SignalHandlers> m_signalHandlers;
#endif
    std::unique_ptr<QSocketNotifier> m_notifier;
};
