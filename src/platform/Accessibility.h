#pragma once

class QAbstractItemView;
class QMessageBox;
class QString;

// Makes screen readers present a plain top-level widget (the main window) as a frame, a window with a title bar,
// as they present other programs' main windows; Qt on its own gives such a widget the role of a filler.
// Call once the QApplication exists; calling it again changes nothing.
void presentPlainWindowsAsFrames();

// Tells a screen reader that the view's current item has the focus, so it reads the selected row out as the list
// gains the focus, as Qt has it do when the selection moves; nothing when no reader listens or nothing is current.
void announceCurrentItem(QAbstractItemView& view);

// Has a screen reader say a short message now, as it says news of the widget that holds the focus: the message
// stands as that widget's accessible description until the focus moves on, when the widget's own comes back.
// Qt 6.4 has no announcement of its own. Nothing when no widget of the program has the focus.
void announce(const QString& message);

// Has a screen reader read `text` as the message box's message, in place of the text it shows (which may hold
// invisible break opportunities that a reader would speak as breaks inside words). Call before the box is shown.
void setSpokenMessage(QMessageBox& box, const QString& text);
