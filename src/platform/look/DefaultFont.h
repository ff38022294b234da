// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

class QWidget;

// Makes a font Qt's default, the application's, for as long as it lives, then puts the previous one back.
//
// A text box lays out its empty text in the default font as it is made, before it takes its window's font. Made
// under a window's font that is already loaded, it loads nothing; made under the desktop's default font, which no
// control of the window shows, it costs every start a fontconfig query and a face of its own. Qt counts the
// default font as the program's own from then on: see followDesktopFont.
class ScopedDefaultFont final
{
public:
    explicit ScopedDefaultFont(const QFont& font);
    ~ScopedDefaultFont();
    ScopedDefaultFont(const ScopedDefaultFont&) = delete;
    ScopedDefaultFont& operator=(const ScopedDefaultFont&) = delete;

private:
    const QFont m_previous;
};

// Keeps Qt's default font the desktop's while `window` lives. Qt stops following a change of the desktop's font
// once the program has set the default font itself, and windows opened afterwards, message boxes among them,
// would keep the old one; the desktop tells each window of such a change.
void followDesktopFont(QWidget& window);
