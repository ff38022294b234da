// SPDX-License-Identifier: GPL-3.0-or-later
// The stored value: any list written and read back is the same list, and any value reads without a crash.
#include "searches/StoredSearches.h"

#include <QStringList>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    splitStoredSearches(text); // a hand-edited value of any shape

    const QStringList queries = text.split(u'\n'); // the input as a list of queries, "|" and "\" included
    const StoredSearchParts parts =
        splitStoredSearches(joinStoredSearches(QList<QStringView>(queries.cbegin(), queries.cend())));
    if (parts.size() != queries.size() + 1 || !parts[queries.size()].isEmpty()) // the empty part after the last bar
        std::abort();
    for (qsizetype i = 0; i < queries.size(); ++i) {
        if (parts[i] != queries[i])
            std::abort();
    }
    return 0;
}
