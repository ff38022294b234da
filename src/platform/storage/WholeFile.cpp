// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/storage/WholeFile.h"

#include <QFile>
#include <QSaveFile>

std::optional<QByteArray> readWholeFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

bool replaceWholeFile(const QString& path, const QByteArray& contents)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size() && file.commit();
}

bool writeWholeFile(const QString& path, const QByteArray& contents)
{
    return replaceWholeFile(path, contents) && readWholeFile(path) == contents;
}
