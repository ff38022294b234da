// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/process/LastChanceSave.h"

#include <QCoreApplication>
#include <QSemaphore>
#include <QString>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

// How long Qt's Wayland event thread holds back the end while the main thread saves.
constexpr int kLastChanceWaitMs = 10000;

// The object whose save an exit handler runs; there is one at a time, in main.
LastChanceSave* g_holder = nullptr;
QtMessageHandler g_earlierMessageHandler = nullptr;

// Qt's Wayland plugin ends the process with _exit() when the compositor goes away, which runs no exit handler;
// the warning it writes just before is the last moment the program has.
bool announcesWaylandEnd(const QString& message)
{
    return message.startsWith(QLatin1String("The Wayland connection broke")) ||
           message.startsWith(QLatin1String("The Wayland connection experienced a fatal error"));
}

} // namespace

LastChanceSave::LastChanceSave(std::function<void()> save) : m_save(std::move(save))
{
    static const bool registered = std::atexit(&LastChanceSave::run) == 0;
    if (registered && g_holder == nullptr) {
        g_holder = this;
        g_earlierMessageHandler = qInstallMessageHandler(&LastChanceSave::watchMessage);
    }
}

LastChanceSave::~LastChanceSave()
{
    if (g_holder == this) {
        g_holder = nullptr;
        qInstallMessageHandler(g_earlierMessageHandler);
    }
}

void LastChanceSave::run()
{
    if (LastChanceSave* holder = std::exchange(g_holder, nullptr))
        holder->m_save();
}

void LastChanceSave::watchMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (g_earlierMessageHandler)
        g_earlierMessageHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(message));
    if (announcesWaylandEnd(message))
        runBeforeEnd();
}

void LastChanceSave::runBeforeEnd()
{
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr || QThread::currentThread() == application->thread()) {
        run();
        return;
    }
    // Qt's Wayland event thread often sees the broken connection first, and ends the process as soon as this
    // returns; the list belongs to the main thread, which saves it while this one waits.
    static QSemaphore saved;
    QMetaObject::invokeMethod(
        application,
        [] {
            run();
            saved.release();
        },
        Qt::QueuedConnection);
    saved.tryAcquire(1, kLastChanceWaitMs);
}
