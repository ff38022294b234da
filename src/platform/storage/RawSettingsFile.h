// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What the bytes of an INI settings file show before QSettings decodes them. QSettings decodes a value stored
// as "@Variant(...)" recursively, with no limit on the depth, and overflows the stack on a deep one; and it
// needs several times the file's size in memory, failing with a crash rather than an error when that runs out.
class RawSettingsFile final
{
public:
    // Looks at the file at `path` (none, or one that cannot be read, shows nothing) for the value under `key`.
    RawSettingsFile(const QString& path, const QString& key);

    // False when the file holds an encoded value too large for QSettings to decode safely, anywhere in it.
    bool canBeDecoded() const { return m_canBeDecoded; }
    // True when the value under the key is stored as an encoded value ("@Variant(...)", "@Rect(...)", a list
    // of them) rather than as text.
    bool keyHoldsEncodedValue() const { return m_keyHoldsEncodedValue; }
    // Throws std::bad_alloc when the memory that decoding a file of `size` bytes needs cannot be had.
    static void reserveMemoryToDecode(qint64 size);

private:
    void inspectLine(const char* line, qsizetype length, bool inTopSection, const QByteArray& key);

    qint64 m_size = 0;
    bool m_canBeDecoded = true;
    bool m_keyHoldsEncodedValue = false;
};
