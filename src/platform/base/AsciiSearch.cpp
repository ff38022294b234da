// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/base/AsciiSearch.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

bool containsEitherAscii(QStringView text, char a, char b)
{
    const char16_t* characters = text.utf16();
    const qsizetype size = text.size();
#if defined(__SSE2__)
    if (size >= 8) {
        const __m128i first = _mm_set1_epi16(a);
        const __m128i second = _mm_set1_epi16(b);
        const auto blockHoldsEither = [&](qsizetype at) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(characters + at));
            return _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(block, first), _mm_cmpeq_epi16(block, second))) != 0;
        };
        for (qsizetype at = 0; at + 8 <= size; at += 8) {
            if (blockHoldsEither(at))
                return true;
        }
        // The characters after the last whole block: the eight that end the text, some of them seen already.
        return size % 8 != 0 && blockHoldsEither(size - 8);
    }
#endif
    return std::any_of(characters, characters + size, [=](char16_t c) { return c == char16_t(a) || c == char16_t(b); });
}
