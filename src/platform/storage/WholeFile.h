// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Writes the whole file or nothing: every write is checked, the file appears only once it is complete, and it is
// read back to be sure it holds what was written. False when it could not be written.
bool writeWholeFile(const QString& path, const QByteArray& contents);
// The file's bytes, read whole; nullopt when there is none or it cannot be read.
std::optional<QByteArray> readWholeFile(const QString& path);
