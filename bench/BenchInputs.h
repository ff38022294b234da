// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The benchmarks' generated inputs, the same in every run.

// Writes a catalogue of `lines` locations in which one display name in ten contains "ville"; returns `path`.
// Ends the benchmark when the file cannot be written.
QString writeCatalogue(const QString& path, int lines);

// `count` queries like "used road bike 12 site:town12.bazaarly.org".
QStringList searchesOf(int count);

// The value the program stores for the queries.
QString storedValueOf(const QStringList& queries);
