// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QAbstractItemView;
class QMessageBox;
class QString;
class QWidget;

// Makes screen readers present a plain top-level widget (the main window) as a frame, a window with a title bar,
// as they present other programs' main windows; Qt on its own gives such a widget the role of a filler.
// Call once the QApplication exists; calling it again changes nothing.
void presentPlainWindowsAsFrames();

// Tells a screen reader that the view's current item has the focus, so it reads the selected row out as the list
// gains the focus, as Qt has it do when the selection moves; nothing when no reader listens or nothing is current.
void announceCurrentItem(QAbstractItemView& view);

// Has a screen reader say a short message now, about something that changed away from the focus. Qt 6.4 has no
// announcement of its own; the message appears in an invisible notification of the window, which screen readers
// read as it appears.
void announce(QWidget& window, const QString& message);

// Has a screen reader read `text` as the message box's message, in place of the text it shows (which may hold
// invisible break opportunities that a reader would speak as breaks inside words). Call before the box is shown.
void setSpokenMessage(QMessageBox& box, const QString& text);
