#pragma once

// Makes screen readers present a plain top-level widget (the main window) as a frame, a window with a title bar,
// as they present other programs' main windows; Qt on its own gives such a widget the role of a filler.
// Call once the QApplication exists; calling it again changes nothing.
void presentPlainWindowsAsFrames();
