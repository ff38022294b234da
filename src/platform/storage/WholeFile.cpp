// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/storage/WholeFile.h"

#include <QSaveFile>

bool writeWholeFile(const QString& path, const QByteArray& contents)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size() && file.commit();
}
