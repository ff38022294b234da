// SPDX-License-Identifier: GPL-3.0-or-later
#include "AsciiSearch.h"

#include <cstring>

qsizetype indexOfAscii(QStringView text, char c, qsizetype from)
{
    const char16_t* characters = text.utf16();
    const auto* bytes = reinterpret_cast<const char*>(characters);
    const char* const end = bytes + 2 * text.size();
    for (const char* at = bytes + 2 * from; at < end;) {
        const auto* found = static_cast<const char*>(std::memchr(at, c, size_t(end - at)));
        if (found == nullptr)
            return -1;
        // The byte is also half of other characters (for a comma, U+012C and U+2C00): only its whole character
        // tells.
        const qsizetype position = (found - bytes) / 2;
        if (characters[position] == char16_t(c))
            return position;
        at = found + 1;
    }
    return -1;
}
