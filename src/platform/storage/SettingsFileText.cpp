// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/storage/SettingsFileText.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

#if defined(Q_OS_WIN)
constexpr QByteArrayView kLineEnd = "\r\n";
#else
constexpr QByteArrayView kLineEnd = "\n";
#endif
constexpr QByteArrayView kSectionLine = "[General]";

// The ASCII characters written as they are: the printable ones and DEL, but for the quote and the backslash,
// which are escaped, and the comma, semicolon and equals sign, which make QSettings quote the value (unquoted,
// they would end a list element, the line or the key).
constexpr std::array<bool, 128> kWrittenAsItIs = [] {
    std::array<bool, 128> plain{};
    for (int c = 0x20; c < 0x80; ++c)
        plain[c] = true;
    for (const char c : {'"', '\\', ',', ';', '='})
        plain[static_cast<unsigned char>(c)] = false;
    return plain;
}();

// The escapes QSettings writes by name.
constexpr std::array<char, 128> kNamedEscapes = [] {
    std::array<char, 128> escapes{};
    const char pairs[][2] = {{'\a', 'a'}, {'\b', 'b'}, {'\f', 'f'}, {'\n', 'n'}, {'\r', 'r'},
                             {'\t', 't'}, {'\v', 'v'}, {'"', '"'},  {'\\', '\\'}};
    for (const auto& pair : pairs)
        escapes[static_cast<unsigned char>(pair[0])] = pair[1];
    return escapes;
}();

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
        if (kWrittenAsItIs[c]) {
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

bool holdsOnly(QByteArrayView file, QStringView key)
{
    if (!isPlainKey(key))
        return false;
    const QByteArray first = firstLines(key);
    if (!file.startsWith(first) || !file.endsWith(kLineEnd) || file.size() < first.size() + kLineEnd.size())
        return false;
    const QByteArrayView value = file.sliced(first.size(), file.size() - first.size() - kLineEnd.size());
    // One line: an end of line inside would start another
    return !value.contains('\n') && !value.contains('\r');
}

} // namespace SettingsFileText
