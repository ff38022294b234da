// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QString;

// Puts the text on the desktop's clipboard, in place of what it held, for the user to paste elsewhere.
void putOnClipboard(const QString& text);
