// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/storage/RawSettingsFile.h"

#include <QFile>

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// The longest line whose encoded value QSettings is left to decode: an encoded list nested deep enough to
// overflow the stack takes hundreds of kilobytes, and nothing this program or QSettings stores on its own
// comes near this.
constexpr qsizetype kLongestEncodedLine = 64 * 1024;
// What decoding the file and restoring its list takes, per byte of the file, at the most: the file, the text
// QSettings decodes from it in UTF-16 (twice, while it grows), the parts cut from it and the list's own texts.
constexpr qint64 kDecodingBytesPerFileByte = 8;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

int digitValue(char c, int base)
{
    const int value = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : base;
    return value < base ? value : -1;
}

// The character at `pos` as QSettings reads it, escapes ("\x40", "\100") decoded; moves `pos` past it.
char32_t decodeCharacter(const char* line, qsizetype length, qsizetype& pos)
{
    if (line[pos] != '\\')
        return static_cast<unsigned char>(line[pos++]);
    if (++pos == length)
        return 0;
    int base = 0;
    if (line[pos] == 'x') {
        base = 16;
        ++pos;
    } else if (digitValue(line[pos], 8) >= 0) {
        base = 8;
    } else {
        return static_cast<unsigned char>(line[pos++]);
    }
    char32_t value = 0;
    for (int digit = 0; pos < length && (digit = digitValue(line[pos], base)) >= 0; ++pos)
        value = value > 0x10FFFF ? value : value * char32_t(base) + char32_t(digit);
    return value;
}

// Whether the list element starting at `pos` is decoded as something other than text: it starts with "@", and
// not with the "@@" that stands for a text starting with "@".
bool elementIsEncoded(const char* line, qsizetype length, qsizetype pos)
{
    while (pos < length && (isBlank(line[pos]) || line[pos] == '"'))
        ++pos;
    if (pos == length || decodeCharacter(line, length, pos) != U'@')
        return false;
    return pos == length || decodeCharacter(line, length, pos) != U'@';
}

QByteArray trimmed(const char* begin, const char* end)
{
    return QByteArray(begin, end - begin).trimmed();
}

// The end of the line starting at `start`, continuation lines (ending in "\") included.
qsizetype logicalLineEnd(const char* data, qsizetype size, qsizetype start)
{
    for (qsizetype from = start;;) {
        const void* found = std::memchr(data + from, '\n', size_t(size - from));
        if (found == nullptr)
            return size;
        const qsizetype end = static_cast<const char*>(found) - data;
        qsizetype last = end - 1;
        if (last >= from && data[last] == '\r')
            --last;
        if (last < from || data[last] != '\\')
            return end;
        from = end + 1;
    }
}

} // namespace

RawSettingsFile::RawSettingsFile(const QString& path, const QString& key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || (m_size = file.size()) == 0)
        return;
    const uchar* mapped = file.map(0, m_size);
    if (mapped == nullptr)
        return;
    const auto* data = reinterpret_cast<const char*>(mapped);
    const QByteArray keyBytes = key.toUtf8();
    bool inTopSection = true; // before any section, or in [General]
    for (qsizetype start = 0; start < m_size && m_canBeDecoded;) {
        const qsizetype end = logicalLineEnd(data, m_size, start);
        const char* line = data + start;
        const qsizetype length = end - start;
        qsizetype first = 0;
        while (first < length && isBlank(line[first]))
            ++first;
        if (first < length && line[first] == '[') {
            const char* close = static_cast<const char*>(std::memchr(line + first, ']', size_t(length - first)));
            inTopSection = close != nullptr && trimmed(line + first + 1, close) == "General";
        } else {
            inspectLine(line, length, inTopSection, keyBytes);
        }
        start = end + 1;
    }
    file.unmap(const_cast<uchar*>(mapped));
}

void RawSettingsFile::inspectLine(const char* line, qsizetype length, bool inTopSection, const QByteArray& key)
{
    const char* equals = static_cast<const char*>(std::memchr(line, '=', size_t(length)));
    if (equals == nullptr)
        return;
    const qsizetype valueStart = equals - line + 1;
    // The value is a list wherever a comma stands outside quotes; any of its elements may be encoded.
    bool encoded = elementIsEncoded(line, length, valueStart);
    bool quoted = false;
    for (qsizetype pos = valueStart; pos < length && !encoded; ++pos) {
        if (line[pos] == '\\')
            ++pos;
        else if (line[pos] == '"')
            quoted = !quoted;
        else if (line[pos] == ',' && !quoted)
            encoded = elementIsEncoded(line, length, pos + 1);
    }
    if (!encoded)
        return;
    if (length > kLongestEncodedLine)
        m_canBeDecoded = false;
    if (inTopSection && trimmed(line, equals) == key)
        m_keyHoldsEncodedValue = true;
}

void RawSettingsFile::reserveMemoryToDecode(qint64 size)
{
    // Asked for at once and given back untouched: this costs address space for a moment, not memory. Kept in a
    // volatile, so that the compiler cannot leave the request out.
    void* volatile room = std::malloc(size_t(size * kDecodingBytesPerFileByte));
    if (room == nullptr && size > 0)
        throw std::bad_alloc();
    std::free(room);
}
