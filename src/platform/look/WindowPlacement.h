// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Where a window of the given outer size (frame and title bar included) goes to stand centred on a screen's
// available area. A window larger than that area keeps its top-left corner, and so its title bar, on it.
QPoint centredFramePosition(const QRect& available, const QSize& frameSize);

// Moves a top-level window, frame included as far as the platform knows it yet, to the centre of its screen's
// available area.
void centreOnScreen(QWidget& window);

// Shows a top-level window centred on its screen. Where the platform learns the frame's size only once the
// window is on the screen (X11 window managers), the window is centred again as soon as it does.
void showCentred(QWidget& window);
