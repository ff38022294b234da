// SPDX-License-Identifier: GPL-3.0-or-later
#include "BenchInputs.h"

#include "searches/StoredSearches.h"

#include <QFile>

QString writeCatalogue(const QString& path, int lines)
{
    static const char* const kRegions[] = {"New York", "Ohio",    "Texas", "Oregon",
                                           "Ontario",  "Florida", "Maine", "Utah"};
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    QByteArray chunk;
    for (int i = 0; i < lines; ++i) {
        chunk += "http://town" + QByteArray::number(i) + ".bazaarly.org/," + (i % 10 == 0 ? "Springville " : "Town ") +
                 QByteArray::number(i) + ',' + kRegions[i % 8] + '\n';
        if (chunk.size() > (1 << 20)) {
            file.write(chunk);
            chunk.clear();
        }
    }
    file.write(chunk);
    return path;
}

QStringList searchesOf(int count)
{
    QStringList searches;
    searches.reserve(count);
    for (int i = 0; i < count; ++i)
        searches.append(QStringLiteral("used road bike %1 site:town%1.bazaarly.org").arg(i));
    return searches;
}

QString storedValueOf(const QStringList& queries)
{
    return joinStoredSearches(QList<QStringView>(queries.cbegin(), queries.cend()));
}
