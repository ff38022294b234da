// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

// The settings file in the one form the program's own store usually takes: a single text value under a single
// key, as QSettings writes it ("[General]", then "key=value", each line ended as QSettings ends lines here).
// QSettings' INI writer passes every character of a value through a text encoder, hundreds of instructions a
// character; these do the same work a run of plain text at a time. Each answers only where it is certain
// QSettings would write or read the very same, and says nothing (nullopt) otherwise, leaving it to QSettings.
namespace SettingsFileText {

// The whole file QSettings writes when `value` is the one value it holds, under `key`; nullopt for a key
// QSettings would escape and for a text QSettings might not read back as it was (one holding a NUL, an unpaired
// surrogate, a byte order mark or another noncharacter).
std::optional<QByteArray> encode(QStringView key, QStringView value);

struct Decoded
{
    QString text;
    // Whether the file is byte for byte the one encode() gives for the text: then no other file in this form
    // holds the same text.
    bool asWritten = false;
};

// The text QSettings reads under `key` from `file`, when the file is exactly in that form and its value is one
// QSettings reads as this same text; nullopt for anything else: other keys, sections, comments, blank lines,
// another line ending, a value read as a list (an unquoted comma) or as an encoded value (a leading "@"),
// bytes that are not UTF-8, and any escape the program's store never holds.
std::optional<Decoded> decode(QByteArrayView file, QStringView key);

} // namespace SettingsFileText
