// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/controls/ViewMemoryReserve.h"

#include <memory>
#include <new>

size_t rowsTheViewsHaveRoomFor(size_t rows) noexcept
{
    // Twice what a tree view keeps for each row it lays out (40 bytes in Qt 6.4): the window takes more memory
    // still when it is first shown (fonts, its backing store), and a view that runs out then crashes.
    constexpr size_t kViewBytesPerRow = 128;
    while (rows > 0 && !std::unique_ptr<char[]>(new (std::nothrow) char[rows * kViewBytesPerRow]))
        rows /= 2;
    return rows;
}
