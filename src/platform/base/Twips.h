// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

// Window measures are given in twips; 15 of them make one pixel at 96 dpi. Qt's high-DPI scaling turns these
// device-independent pixels into device pixels, so this is the only conversion the program needs.
constexpr int twipsToPixels(int twips)
{
    return (twips + 7) / 15;
}

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}
