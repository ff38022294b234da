// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QStringList>

// A search file: the queries as text, one a line, in UTF-8. The user saves the list to one and adds one back, and
// the program keeps what a failed save or a clear took away in one.

// The largest file taken as a search file: many times the longest list a user keeps.
inline constexpr qint64 kLargestSearchFile = 8 * 1024 * 1024;

// The text of a search file for the queries. A line break (or a NUL, which no text file holds) inside a query
// is written as a blank, so that every query comes back as one.
QByteArray searchFileText(const QStringList& queries);

// The queries of the file, its blank lines skipped. A Failure naming the file when it is missing, not a file,
// cannot be read, is larger than kLargestSearchFile or holds a NUL character (a file that is not text).
QStringList readSearchFile(const QString& path);
