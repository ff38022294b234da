// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/storage/SettingsFileText.h"

#include <algorithm>
#include <array>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

#if defined(Q_OS_WIN)
constexpr QByteArrayView kLineEnd = "\r\n";
#else
constexpr QByteArrayView kLineEnd = "\n";
#endif
constexpr QByteArrayView kSectionLine = "[General]";

// How an ASCII character stands in a value. Written: as it is, both ways (the printable characters and DEL).
// Read: written escaped, but read as it is where it is found unescaped (the control characters). Never: the
// quote and the backslash, which are escaped, the comma, semicolon and equals sign, which make QSettings quote
// the value (unquoted, they would end a list element, the line or the key), and NUL; each has a way of its own.
enum class Plain { Never, Written, Read };
constexpr std::array<Plain, 128> kPlain = [] {
    std::array<Plain, 128> plain{};
    for (int c = 1; c < 0x20; ++c)
        plain[c] = Plain::Read;
    for (int c = 0x20; c < 0x80; ++c)
        plain[c] = Plain::Written;
    for (const char c : {'"', '\\', ',', ';', '='})
        plain[static_cast<unsigned char>(c)] = Plain::Never;
    return plain;
}();

// The escapes QSettings writes and reads by name.
constexpr std::array<char, 128> kNamedEscapes = [] {
    std::array<char, 128> escapes{};
    const char pairs[][2] = {{'\a', 'a'}, {'\b', 'b'}, {'\f', 'f'}, {'\n', 'n'}, {'\r', 'r'},
                             {'\t', 't'}, {'\v', 'v'}, {'"', '"'},  {'\\', '\\'}};
    for (const auto& pair : pairs)
        escapes[static_cast<unsigned char>(pair[0])] = pair[1];
    return escapes;
}();

#if defined(__SSE2__)
// A bit for each of the sixteen bytes that is not written as it is: a control character, a byte from 0x80 up
// (negative, compared as signed), and the five characters that are escaped or make the value quoted.
int notPlainMask(__m128i bytes)
{
    __m128i mask = _mm_cmplt_epi8(bytes, _mm_set1_epi8(0x20));
    for (const char c : {'"', '\\', ',', ';', '='})
        mask = _mm_or_si128(mask, _mm_cmpeq_epi8(bytes, _mm_set1_epi8(c)));
    return _mm_movemask_epi8(mask);
}
#endif

// Copies the run of characters written as they are at the start of `text` to `out`, one byte each, sixteen at a
// time where the processor can; the length of the run copied. A few of its last characters may be left to the
// caller, a character at a time. (`out` has room for a byte a character.)
qsizetype narrowPlainRun(const char16_t* text, qsizetype size, char* out)
{
    qsizetype i = 0;
#if defined(__SSE2__)
    for (; i + 16 <= size; i += 16) {
        // Saturated: a character from 0x100 up packs as 0xFF or 0, neither of them plain.
        const __m128i bytes = _mm_packus_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i)),
                                               _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i + 8)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), bytes);
        if (const int mask = notPlainMask(bytes))
            return i + __builtin_ctz(unsigned(mask));
    }
#else
    Q_UNUSED(text);
    Q_UNUSED(size);
    Q_UNUSED(out);
#endif
    return i;
}

// The same the other way: bytes written as they are, to UTF-16. (`out` has room for as many characters as there
// are bytes.)
qsizetype widenPlainRun(const char* bytes, qsizetype size, char16_t* out)
{
    qsizetype i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= size; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_unpacklo_epi8(block, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 8), _mm_unpackhi_epi8(block, zero));
        if (const int mask = notPlainMask(block))
            return i + __builtin_ctz(unsigned(mask));
    }
#else
    Q_UNUSED(bytes);
    Q_UNUSED(size);
    Q_UNUSED(out);
#endif
    return i;
}

int hexValue(char32_t c)
{
    return c >= '0' && c <= '9'   ? int(c - '0')
           : c >= 'a' && c <= 'f' ? int(c - 'a' + 10)
           : c >= 'A' && c <= 'F' ? int(c - 'A' + 10)
                                  : -1;
}

// A noncharacter or the byte order mark: characters a UTF-8 converter may drop or replace.
bool isDoubtful(char32_t code)
{
    return code == 0xFEFF || (code >= 0xFDD0 && code <= 0xFDEF) || (code & 0xFFFE) == 0xFFFE;
}

bool isPlainKey(QStringView key)
{
    if (key.isEmpty())
        return false;
    for (const QChar c : key) {
        const char16_t u = c.unicode();
        if (!((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' || u == '-' ||
              u == '.'))
            return false;
    }
    return true;
}

char* putHex(char* out, char16_t c)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    *out++ = '\\';
    *out++ = 'x';
    if (c >= 16)
        *out++ = kDigits[c >> 4];
    *out++ = kDigits[c & 15];
    return out;
}

// Writes the character starting at text[i] in UTF-8 and moves `i` past it; nullptr for an unpaired surrogate
// or a doubtful character.
char* putUtf8(char* out, const char16_t* text, qsizetype size, qsizetype& i)
{
    char32_t code = text[i++];
    if (code >= 0xD800 && code <= 0xDFFF) {
        if (code >= 0xDC00 || i == size || text[i] < 0xDC00 || text[i] > 0xDFFF)
            return nullptr;
        code = 0x10000 + ((code - 0xD800) << 10) + (text[i++] - 0xDC00);
    }
    if (isDoubtful(code))
        return nullptr;
    if (code < 0x800) {
        *out++ = char(0xC0 | (code >> 6));
    } else if (code < 0x10000) {
        *out++ = char(0xE0 | (code >> 12));
        *out++ = char(0x80 | ((code >> 6) & 0x3F));
    } else {
        *out++ = char(0xF0 | (code >> 18));
        *out++ = char(0x80 | ((code >> 12) & 0x3F));
        *out++ = char(0x80 | ((code >> 6) & 0x3F));
    }
    *out++ = char(0x80 | (code & 0x3F));
    return out;
}

// Appends the value as QSettings writes a text: a leading "@" doubled, control characters, quotes and
// backslashes escaped (and a hex digit after a numeric escape, which would otherwise extend it), the rest in
// UTF-8, and the whole quoted when it holds a comma, semicolon or equals sign or starts or ends with a blank.
bool appendValue(QByteArray& file, QStringView value)
{
    const qsizetype start = file.size();
    // Room for a doubled "@", four bytes a character at the most and the quotes.
    file.resize(start + 1 + 4 * value.size() + 2);
    char* const begin = file.data() + start;
    char* out = begin;
    if (value.startsWith(u'@'))
        *out++ = '@';
    const char16_t* text = value.utf16();
    const qsizetype size = value.size();
    bool quoted = false;
    bool escapeHexDigit = false;
    for (qsizetype i = 0; i < size;) {
        if (!escapeHexDigit) {
            const qsizetype run = narrowPlainRun(text + i, size - i, out);
            i += run;
            out += run;
            if (i == size)
                break;
        }
        const char16_t c = text[i];
        if (c >= 0x80) {
            if ((out = putUtf8(out, text, size, i)) == nullptr)
                return false;
            escapeHexDigit = false;
            continue;
        }
        ++i;
        if (escapeHexDigit && hexValue(c) >= 0) {
            out = putHex(out, c);
            continue;
        }
        escapeHexDigit = false;
        if (kPlain[c] == Plain::Written) {
            *out++ = char(c);
        } else if (kNamedEscapes[c] != 0) {
            *out++ = '\\';
            *out++ = kNamedEscapes[c];
        } else if (c == 0) {
            return false; // QSettings writes a text holding a NUL in a form of its own
        } else if (c < 0x20) {
            out = putHex(out, c);
            escapeHexDigit = true;
        } else {
            *out++ = char(c); // a comma, semicolon or equals sign
            quoted = true;
        }
    }
    if (quoted || (out > begin && (*begin == ' ' || out[-1] == ' '))) {
        std::memmove(begin + 1, begin, size_t(out - begin));
        *begin = '"';
        out[1] = '"';
        out += 2;
    }
    file.truncate(out - file.constData());
    return true;
}

// Reads the UTF-8 character starting at bytes[i] into `out` and moves `i` past it; false for anything but a
// well-formed sequence of a character that is not doubtful.
bool takeUtf8(QByteArrayView bytes, qsizetype& i, char16_t*& out)
{
    const auto byte = [&](qsizetype at) { return at < bytes.size() ? static_cast<unsigned char>(bytes[at]) : 0; };
    const unsigned char lead = byte(i);
    const int length = lead >= 0xC2 && lead <= 0xDF   ? 2
                       : lead >= 0xE0 && lead <= 0xEF ? 3
                       : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                      : 0;
    if (length == 0)
        return false;
    char32_t code = lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        const unsigned char next = byte(i + k);
        if ((next & 0xC0) != 0x80)
            return false;
        code = (code << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and what lies beyond Unicode are not UTF-8.
    if ((length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
        (length == 4 && (code < 0x10000 || code > 0x10FFFF)) || isDoubtful(code))
        return false;
    if (code >= 0x10000) {
        *out++ = char16_t(0xD800 + ((code - 0x10000) >> 10));
        *out++ = char16_t(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
        *out++ = char16_t(code);
    }
    i += length;
    return true;
}

// The character an escape by name stands for; 0 for none.
char16_t namedEscapeCode(char name)
{
    const auto at = name == 0 ? kNamedEscapes.end() : std::find(kNamedEscapes.begin(), kNamedEscapes.end(), name);
    return at == kNamedEscapes.end() ? 0 : char16_t(at - kNamedEscapes.begin());
}

// Whether the escape at `escape` (from its backslash) is the one the writer above gives `code`: by name, or in
// hex for a control character without a name or a hex digit after a hex escape.
bool isWrittenEscape(QByteArrayView escape, char16_t code, bool afterHexEscape)
{
    if (code >= 0x80 || code == 0)
        return false;
    if (kNamedEscapes[code] != 0)
        return escape.size() == 2 && escape[1] == kNamedEscapes[code];
    if (!(code < 0x20 || (afterHexEscape && hexValue(code) >= 0)))
        return false;
    char written[4];
    return escape == QByteArrayView(written, putHex(written, code) - written);
}

// Reads the escape after the backslash at bytes[i - 1] as QSettings does, into `out`, and moves `i` past it;
// false for one QSettings reads in a way of its own (an escape it skips, a backslash at the end). `asWritten`
// turns false unless the escape is the one written for its character; `afterHexEscape` says whether it is a
// hex escape.
bool takeEscape(QByteArrayView bytes, qsizetype& i, char16_t*& out, bool& afterHexEscape, bool& asWritten)
{
    if (i == bytes.size())
        return false;
    const qsizetype start = i - 1;
    const char c = bytes[i++];
    char16_t code = 0;
    if (c == '?' || c == '\'') {
        code = char16_t(c);
    } else if (const char16_t named = namedEscapeCode(c)) {
        code = named;
    } else {
        // A numeric escape takes every digit that follows, in 16 bits.
        const int base = c == 'x' ? 16 : (c >= '0' && c <= '7') ? 8 : 0;
        if (base == 0 || (base == 16 && (i == bytes.size() || hexValue(char32_t(bytes[i])) < 0)))
            return false;
        code = base == 8 ? char16_t(c - '0') : 0;
        for (int digit = 0; i < bytes.size() && (digit = hexValue(char32_t(bytes[i]))) >= 0 && digit < base; ++i)
            code = char16_t(code * base + digit);
    }
    asWritten = asWritten && isWrittenEscape(bytes.sliced(start, i - start), code, afterHexEscape);
    afterHexEscape = c == 'x';
    *out++ = code;
    return true;
}

// The text QSettings reads from a value written as `bytes`, when it reads it as text, and whether the bytes are
// the very ones appendValue() writes for it; nullopt otherwise.
std::optional<SettingsFileText::Decoded> decodeValue(QByteArrayView bytes)
{
    const bool quoted = bytes.size() >= 2 && bytes.front() == '"' && bytes.back() == '"';
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    if (quoted)
        bytes = bytes.sliced(1, bytes.size() - 2);
    else if (!bytes.isEmpty() && (isBlank(bytes.front()) || isBlank(bytes.back())))
        return std::nullopt; // blanks QSettings trims
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    // Quotes are written where a separator is inside or a blank at either end.
    bool mustBeQuoted = !bytes.isEmpty() && (bytes.front() == ' ' || bytes.back() == ' ');
    bool asWritten = true;
    bool afterHexEscape = false;
    for (qsizetype i = 0; i < bytes.size();) {
        const qsizetype run = widenPlainRun(bytes.data() + i, bytes.size() - i, out);
        i += run;
        out += run;
        if (run != 0)
            afterHexEscape = false;
        if (i == bytes.size())
            break;
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == '\\') {
            ++i;
            if (!takeEscape(bytes, i, out, afterHexEscape, asWritten))
                return std::nullopt;
            continue;
        }
        afterHexEscape = false;
        if (c < 0x80 && kPlain[c] != Plain::Never) {
            asWritten = asWritten && kPlain[c] == Plain::Written;
            *out++ = char16_t(c);
            ++i;
        } else if (c >= 0x80) {
            if (!takeUtf8(bytes, i, out))
                return std::nullopt;
        } else if (quoted && c != '"' && c != 0) {
            *out++ = char16_t(bytes[i++]); // a comma, semicolon or equals sign inside the quotes
            mustBeQuoted = true;
        } else {
            return std::nullopt; // a NUL, a quote inside, or a list, comment or key marker outside quotes
        }
    }
    text.truncate(out - reinterpret_cast<const char16_t*>(text.constData()));
    // A value starting with "@" is read as an encoded one; "@@" stands for a text starting with "@".
    if (text.startsWith(u'@')) {
        if (!text.startsWith(QLatin1String("@@")))
            return std::nullopt;
        text.remove(0, 1);
    }
    return SettingsFileText::Decoded{std::move(text), asWritten && quoted == mustBeQuoted};
}

QByteArray firstLines(QStringView key)
{
    return kSectionLine.toByteArray() + kLineEnd.toByteArray() + key.toLatin1() + '=';
}

} // namespace

namespace SettingsFileText {

std::optional<QByteArray> encode(QStringView key, QStringView value)
{
    if (!isPlainKey(key))
        return std::nullopt;
    QByteArray file = firstLines(key);
    if (!appendValue(file, value))
        return std::nullopt;
    file += kLineEnd;
    return file;
}

std::optional<Decoded> decode(QByteArrayView file, QStringView key)
{
    if (!isPlainKey(key))
        return std::nullopt;
    const QByteArray first = firstLines(key);
    if (!file.startsWith(first) || !file.endsWith(kLineEnd) || file.size() < first.size() + kLineEnd.size())
        return std::nullopt;
    const QByteArrayView value = file.sliced(first.size(), file.size() - first.size() - kLineEnd.size());
    // One line: an end of line inside would start another, or continue this one after a backslash.
    if (std::memchr(value.data(), '\n', size_t(value.size())) != nullptr ||
        std::memchr(value.data(), '\r', size_t(value.size())) != nullptr)
        return std::nullopt;
    return decodeValue(value);
}

} // namespace SettingsFileText
