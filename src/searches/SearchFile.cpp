// SPDX-License-Identifier: GPL-3.0-or-later
#include "SearchFile.h"

#include "platform/base/Failure.h"
#include "platform/storage/TextFileReader.h"

#include <QDir>

#include <algorithm>

namespace {
bool breaksALine(QChar c)
{
    return c == u'\n' || c == u'\r' || c == u'\0';
}

QString fileName(const QString& path)
{
    return QDir::toNativeSeparators(path);
}
} // namespace

QByteArray searchFileText(const QStringList& queries)
{
    QString text;
    for (QString query : queries) {
        std::replace_if(query.begin(), query.end(), breaksALine, u' ');
        text += query;
        text += u'\n';
    }
    return text.toUtf8();
}

QStringList readSearchFile(const QString& path)
{
    TextFileReader file(path);
    if (file.size() > kLargestSearchFile)
        throw Failure(QStringLiteral("The file \"%1\" is too large to hold searches: it has %2 bytes, and a search "
                                     "file has at most %3.")
                          .arg(fileName(path))
                          .arg(file.size())
                          .arg(kLargestSearchFile));
    QStringList queries;
    while (!file.atEnd()) {
        const QStringView line = file.readLine();
        if (line.contains(u'\0'))
            throw Failure(QStringLiteral("The file \"%1\" is not a text file.").arg(fileName(path)));
        if (!line.trimmed().isEmpty())
            queries.append(line.toString());
    }
    return queries;
}
