// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QCursor>
#include <QImage>
#include <QPoint>
#include <QString>

// One picture of a Windows cursor file and the hotspot from its directory entry.
struct CursorPicture
{
    QImage image;
    QPoint hotspot;
};

// The size of the cursor picture that goes with a desktop at 100 %.
constexpr int kStandardCursorSize = 32;

// The picture size, in device pixels, of a cursor that stands beside the desktop's arrow: 32 beside the usual
// 24-pixel arrow, growing with it. `desktopCursorSize` is the arrow's size, 0 when unknown; the screen's scale
// then decides.
int wantedCursorSize(int desktopCursorSize, qreal devicePixelRatio);

// Reads a cursor file's bytes and returns the picture whose size is nearest to `wantedSize` (the smaller of two as
// near); a Failure naming `fileName` when they are not a cursor.
CursorPicture readCursorPicture(const QByteArray& bytes, const QString& fileName, int wantedSize = kStandardCursorSize);

// The pointer made from a cursor file, at the size that suits the desktop on a screen of the given scale (the
// screen of the window that shows it); a Failure when the file cannot be read or is not a cursor.
QCursor loadCursorFile(const QString& path, qreal devicePixelRatio);
