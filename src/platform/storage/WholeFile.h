// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Puts the whole file in place or nothing: it is written under another name and moved into place once complete.
// False when it could not be opened, written or moved into place (a write cut short may yet be reported as done).
bool replaceWholeFile(const QString& path, const QByteArray& contents);
// As replaceWholeFile, then read back to be sure it holds what was written. False when it could not be written.
bool writeWholeFile(const QString& path, const QByteArray& contents);
// The file's bytes, read whole; nullopt when there is none or it cannot be read.
std::optional<QByteArray> readWholeFile(const QString& path);
