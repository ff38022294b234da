// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/storage/WindowsRegistry.h"

#include <QByteArray>
#include <QRegularExpression>

#include <windows.h>

namespace {

const wchar_t* wide(const QString& text)
{
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

// The value's type and bytes as stored; false when it cannot be read (absent included).
bool readRaw(const QString& key, const QString& name, DWORD& type, QByteArray& bytes, LSTATUS& status)
{
    const DWORD flags = RRF_RT_ANY | RRF_NOEXPAND;
    DWORD size = 0;
    status = RegGetValueW(HKEY_CURRENT_USER, wide(key), wide(name), flags, &type, nullptr, &size);
    // The value may grow between the two calls; ask again until it fits.
    while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        bytes.resize(size);
        status = RegGetValueW(HKEY_CURRENT_USER, wide(key), wide(name), flags, &type, bytes.data(), &size);
        if (status == ERROR_SUCCESS) {
            bytes.truncate(size);
            return true;
        }
    }
    return false;
}

// QSettings stores a value of another type as text of its own: "@Invalid()", "@Variant(...)", "@ByteArray(...)",
// "@Rect(...)" and the like. A text beginning "@@" is its escape of a text beginning "@".
bool isQSettingsEncoding(const QString& text)
{
    static const QRegularExpression encoding(QStringLiteral("^@[A-Za-z]+\\("));
    return encoding.match(text).hasMatch();
}

} // namespace

namespace WindowsRegistry {

bool read(const QString& key, const QString& name, Value& value)
{
    DWORD type = REG_NONE;
    QByteArray bytes;
    LSTATUS status = ERROR_SUCCESS;
    if (!readRaw(key, name, type, bytes, status)) {
        value = {};
        return status == ERROR_FILE_NOT_FOUND;
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        value = {Kind::NotText, {}};
        return true;
    }
    QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()), bytes.size() / 2);
    while (text.endsWith(QChar::Null)) // the terminating NUL, and any that Windows added
        text.chop(1);
    if (text.contains(QChar::Null))
        value = {Kind::NulInText, {}};
    else if (isQSettingsEncoding(text))
        value = {Kind::NotText, {}};
    else
        value = {Kind::Text, text};
    return true;
}

bool writeText(const QString& key, const QString& name, const QString& text)
{
    const DWORD size = DWORD((text.size() + 1) * sizeof(wchar_t)); // with the terminating NUL
    return RegSetKeyValueW(HKEY_CURRENT_USER, wide(key), wide(name), REG_SZ, wide(text), size) == ERROR_SUCCESS;
}

bool copy(const QString& key, const QString& from, const QString& to)
{
    DWORD type = REG_NONE;
    QByteArray bytes;
    LSTATUS status = ERROR_SUCCESS;
    return readRaw(key, from, type, bytes, status) &&
           RegSetKeyValueW(HKEY_CURRENT_USER, wide(key), wide(to), type, bytes.constData(), DWORD(bytes.size())) ==
               ERROR_SUCCESS;
}

bool exists(const QString& key, const QString& name)
{
    return RegGetValueW(HKEY_CURRENT_USER, wide(key), wide(name), RRF_RT_ANY | RRF_NOEXPAND, nullptr, nullptr,
                        nullptr) == ERROR_SUCCESS;
}

} // namespace WindowsRegistry
