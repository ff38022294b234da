// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <functional>

class QMessageLogContext;
class QString;

// A last chance to save for the one ending that asks nobody: when the connection to the display breaks (the X
// server killed, a remote session dropped), Qt ends the process with exit() from inside its platform plugin, and
// only an exit handler still runs; when a Wayland compositor goes away, Qt ends it with _exit() right after a
// warning, which a message handler sees. There is one at a time, in main.
class LastChanceSave final
{
public:
    // Runs `save` if the process is ended by exit() while this object lives, which only an ending from inside Qt
    // does (returning from main destroys this object first), or by Qt's Wayland plugin losing its compositor.
    explicit LastChanceSave(std::function<void()> save);
    // Gives the message handler back to the one before.
    ~LastChanceSave();
    LastChanceSave(const LastChanceSave&) = delete;
    LastChanceSave& operator=(const LastChanceSave&) = delete;

private:
    static void run();
    static void runBeforeEnd();
    static void watchMessage(QtMsgType type, const QMessageLogContext& context, const QString& message);

    std::function<void()> m_save;
};
