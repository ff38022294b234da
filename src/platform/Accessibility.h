// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QAbstractItemView;

// Makes screen readers present a plain top-level widget (the main window) as a frame, a window with a title bar,
// as they present other programs' main windows; Qt on its own gives such a widget the role of a filler.
// Call once the QApplication exists; calling it again changes nothing.
void presentPlainWindowsAsFrames();

// Tells a screen reader that the view's current item has the focus, so it reads the selected row out as the list
// gains the focus, as Qt has it do when the selection moves; nothing when no reader listens or nothing is current.
void announceCurrentItem(QAbstractItemView& view);
