// SPDX-License-Identifier: GPL-3.0-or-later
#include "ViewMemoryReserve.h"

#include <memory>
#include <new>

size_t rowsTheViewsHaveRoomFor(size_t rows) noexcept
{
    // What a tree view keeps for each row it lays out, with room to spare.
    constexpr size_t kViewBytesPerRow = 64;
    while (rows > 0 && !std::unique_ptr<char[]>(new (std::nothrow) char[rows * kViewBytesPerRow]))
        rows /= 2;
    return rows;
}
