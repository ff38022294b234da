// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class Form1;

// Keeps a screen reader told of what changes in the window's lists while the focus is elsewhere: the filter box
// describes how many locations its text lets through, and every change to the search list is said once the
// command that made it is done ("Search added: lawnmower site:albany.bazaarly.org. 3 searches in the list."), and
// a selection of several locations or searches is said by its count ("3 locations selected").
void announceListChanges(Form1& window);
