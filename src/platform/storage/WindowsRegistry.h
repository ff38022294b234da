// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Windows only. Values under a key of HKEY_CURRENT_USER read and written as Windows stores them: the text of a
// REG_SZ exactly, with none of the encodings QSettings puts on text (it stores a text beginning with "@" as
// "@@...", reads other types as text and drops what follows a NUL).
namespace WindowsRegistry {

enum class Kind {
    Absent,    // no such value, or no such key
    Text,      // a REG_SZ or REG_EXPAND_SZ (not expanded) holding text
    NotText,   // any other type, or a text in QSettings' encoding of another type ("@Invalid()", "@Variant(...)")
    NulInText, // a REG_SZ with a NUL inside it, which no text of the program holds
};

struct Value
{
    Kind kind = Kind::Absent;
    QString text; // for Kind::Text
};

// `key` is a path under HKEY_CURRENT_USER. A failure to read that is not an absence comes back as false.
bool read(const QString& key, const QString& name, Value& value);
// Writes a REG_SZ, making the key when needed; true when Windows reports it stored.
bool writeText(const QString& key, const QString& name, const QString& text);
// Copies a value of any type, byte for byte, under another name; true when it was stored.
bool copy(const QString& key, const QString& from, const QString& to);
bool exists(const QString& key, const QString& name);

} // namespace WindowsRegistry
