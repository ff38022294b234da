// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QSocketNotifier;

// Reports the ways the program can be asked to end from outside its window: on Unix every signal whose default
// action ends the process (SIGTERM, SIGINT, SIGHUP, SIGUSR1, SIGALRM, SIGXCPU, ...) but those that ask for or
// report a crash (SIGQUIT, SIGABRT, SIGSEGV, ...), and the desktop session ending everywhere. Each becomes one
// endRequested signal, so the window can close the normal way and save the search list. Requests that come before
// watch() wait until then. SIGPIPE is ignored: a write to a closed pipe (standard error, a socket) fails instead of
// ending the program. It also keeps a last chance to save for the one ending that asks nobody: when the connection to
// the display breaks (the X server killed, a remote session dropped), Qt ends the process with exit() from inside its
// platform plugin, and only an exit handler still runs; when a Wayland compositor goes away, Qt ends it with
// _exit() right after a warning, which a message handler sees.
class SessionEnd final : public QObject
{
    Q_OBJECT

public:
    // Installs the signal handlers at once, so no termination signal can end the program unsaved from here on.
    explicit SessionEnd(QObject* parent = nullptr);
    ~SessionEnd() override;

    // Starts delivering endRequested, including any request that came before.
    void watch();
    // Runs `save` if the process is ended by exit() while this object lives, which only an ending from inside Qt
    // does (returning from main destroys this object first), or by Qt's Wayland plugin losing its compositor.
    void onAbruptExit(std::function<void()> save);
    // Ends the process at once, without any further saving: for a request to end that comes while the program
    // is already closing and has shown why it could not save.
    [[noreturn]] static void endAtOnce();

signals:
    void endRequested();

private:
    void readSignal();
    static void runLastChance();
    static void runLastChanceBeforeEnd();
    static void watchMessage(QtMsgType type, const QMessageLogContext& context, const QString& message);

    std::function<void()> m_lastChance;
#if defined(Q_OS_UNIX)
    class SignalHandlers;
    std::unique_ptr<SignalHandlers> m_signalHandlers;
#endif
    std::unique_ptr<QSocketNotifier> m_notifier;
#if defined(Q_OS_WIN)
    class EndSessionFilter;
    std::unique_ptr<EndSessionFilter> m_endSessionFilter;
#endif
};
