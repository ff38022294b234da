// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// Qt ends the process with SIGABRT and a long message about reinstalling when its display platform cannot
// start: a DISPLAY with no X server behind it, a WAYLAND_DISPLAY that names no compositor, a QT_QPA_PLATFORM
// that names no installed platform. While this object lives, that ending instead says plainly on standard
// error what is wrong and exits with code 1. What Qt says along the way is held back and passed on when the
// start succeeds.
class DisplayStart final
{
public:
    DisplayStart();
    ~DisplayStart();
    DisplayStart(const DisplayStart&) = delete;
    DisplayStart& operator=(const DisplayStart&) = delete;

private:
    static void holdBack(QtMsgType type, const QMessageLogContext& context, const QString& message);
};
