// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringView>

// The position of the first `c`, an ASCII character, at or after `from` in `text`; -1 when there is none. For
// the short stretches the program searches (a field of a line, a line of a file) a call to QStringView::indexOf
// costs more than the search; the C library's memchr is vectorised and cheap to call.
qsizetype indexOfAscii(QStringView text, char c, qsizetype from = 0);

// Whether `text` holds `a` or `b`, two ASCII characters: a question asked of every query of a long list, answered
// eight characters at a time where the processor can, for far less than two searches.
bool containsEitherAscii(QStringView text, char a, char b);
