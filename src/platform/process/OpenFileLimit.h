// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The program holds a few dozen files open at once: its display connection, its sockets and pipes, the files of a
// save and an opener's pipes. With fewer the display library hangs or the window vanishes half-way through a
// command. Raises the limit on open files to the most the system allows this process; returns an empty text when
// that is enough, else one line saying what is wrong (on Unix; elsewhere there is no such limit to raise).
QString raiseOpenFileLimit();
