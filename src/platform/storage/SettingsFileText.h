// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

#include <optional>

// The settings file in the one form the program's own store usually takes: a single text value under a single
// key, as QSettings writes it ("[General]", then "key=value", each line ended as QSettings ends lines here).
// QSettings' INI writer passes every character of a value through a text encoder of its own, which made a save of
// a changed list take half as long again; this does the same work in one pass over the text.
namespace SettingsFileText {

// The whole file QSettings writes when `value` is the one value it holds, under `key`; nullopt for a key
// QSettings would escape and for a text QSettings might not read back as it was (one holding a NUL, an unpaired
// surrogate, a byte order mark or another noncharacter).
std::optional<QByteArray> encode(QStringView key, QStringView value);

// Whether `file` is in that form for `key`, whatever its value: a file that QSettings reads as holding nothing but
// `key`, and would write as encode() does.
bool holdsOnly(QByteArrayView file, QStringView key);

} // namespace SettingsFileText
