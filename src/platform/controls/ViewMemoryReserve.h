// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

// How many of a list's `rows` the views can lay out with the memory there is now (they keep a little for each
// row they lay out): all of them when there is room, else the most that a halving of the list, and another,
// brings within reach; 0 when not even one row fits. Allocates nothing that it keeps.
size_t rowsTheViewsHaveRoomFor(size_t rows) noexcept;
