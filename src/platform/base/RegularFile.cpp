// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/base/RegularFile.h"

#include "platform/base/Failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

bool isRegularFile(const QString& path)
{
    return QFileInfo(path).isFile();
}

bool holdsOtherThanARegularFile(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isFile();
}

void openForReading(QFile& file)
{
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("The file \"%1\" cannot be read: %2.")
                          .arg(QDir::toNativeSeparators(file.fileName()), file.errorString()));
}
