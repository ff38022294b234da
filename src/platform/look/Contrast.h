// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPalette>

class QScrollBar;
class QWidget;

// Contrast between two colours as the Web Content Accessibility Guidelines measure it: from 1 (the same light) to
// 21 (black on white).
qreal contrastRatio(const QColor& first, const QColor& second);

// Text is read with ease from this contrast on; shapes such as a selected row are seen from the lower one.
constexpr qreal kReadableTextContrast = 4.5;
constexpr qreal kVisibleShapeContrast = 3.0;

// The preferred colour where it stands out from the background by `wanted`, otherwise black or white, whichever
// stands out more.
QColor readableOn(const QColor& background, const QColor& preferred, qreal wanted = kReadableTextContrast);

// The colour, made darker on a light background or lighter on a dark one, until it stands out from the
// background by `wanted`; unchanged when it already does.
QColor standingOutFrom(const QColor& background, const QColor& colour, qreal wanted = kVisibleShapeContrast);

// Gives the widget a fixed background colour for the role and, with it, text that can be read on it: the
// palette's own text colour where it can, black or white where it cannot (light text of a dark desktop theme on a
// white background that the program sets itself).
void fixBackground(QWidget& widget, QPalette::ColorRole role, const QColor& colour);

// Draws the scroll bar's handle so that it stands out from its track as a shape must, in the window's colours and
// under a skin alike: Fusion draws a light handle on a light track (1.15:1), and the scroll position is easily
// misread. Scroll bars under another style (Windows' own) are left as that style draws them.
void makeHandleStandOut(QScrollBar& bar);
