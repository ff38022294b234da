// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QFile;
class QString;

// The program reads regular files only: opening a named pipe or a device would wait for a writer that never
// comes, and a folder cannot be read as a file.

// Whether `path` is a regular file, through any symbolic links; false when nothing is there.
bool isRegularFile(const QString& path);
// Whether something is at `path` that is not a regular file (a folder, a named pipe, a device, a socket).
bool holdsOtherThanARegularFile(const QString& path);
// Opens `file` for reading; a Failure saying that the file cannot be read, and why, when it cannot be opened.
void openForReading(QFile& file);
