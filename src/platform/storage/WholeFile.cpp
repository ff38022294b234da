// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/storage/WholeFile.h"

#include <QFile>
#include <QSaveFile>

namespace {
bool holdsExactly(const QString& path, const QByteArray& contents)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.size() == contents.size() && file.readAll() == contents;
}
} // namespace

bool writeWholeFile(const QString& path, const QByteArray& contents)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size() && file.commit() &&
           holdsExactly(path, contents);
}
