// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QImage>

// The program's icon, the same pictures as the executable's own.
QIcon programIcon();

// A picture of pixels stored as the icon's are: premultiplied, in little-endian 32-bit words. On a little-endian
// machine, where the words lie on word boundaries (as the program's resources lay them out), the picture is drawn
// straight from where they are stored, which must outlive it; otherwise from a copy in the machine's order.
QImage storedPicture(const uchar* pixels, int width, int height);
