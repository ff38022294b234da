// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/storage/KeptFiles.h"

#include "platform/base/Failure.h"
#include "platform/storage/WholeFile.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace {
const QString kExtension = QStringLiteral(".txt");

QString fileNamed(const QString& folder, int number)
{
    return QDir(folder).filePath(QString::number(number) + kExtension);
}
} // namespace

KeptFiles::KeptFiles(QStringList folders, QString folderName, int count)
    : m_folders(std::move(folders)), m_folderName(std::move(folderName)), m_count(count)
{
}

QString KeptFiles::folderIn(const QString& folder) const
{
    return QDir(folder).filePath(m_folderName);
}

QList<int> KeptFiles::numbersIn(const QString& folder)
{
    QList<int> numbers;
    for (const QString& name : QDir(folder).entryList({QLatin1Char('*') + kExtension}, QDir::Files)) {
        bool isNumber = false;
        const int number = name.chopped(kExtension.size()).toInt(&isNumber);
        if (isNumber && number > 0)
            numbers.append(number);
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

QString KeptFiles::keep(const QByteArray& contents) const
{
    for (const QString& parent : m_folders) {
        const QString folder = folderIn(parent);
        QList<int> numbers = numbersIn(folder);
        const int next = numbers.isEmpty() ? 1 : numbers.last() + 1;
        const QString path = fileNamed(folder, next);
        if (!QDir().mkpath(folder) || !writeWholeFile(path, contents))
            continue;
        // Only once the new file is whole does the oldest go.
        while (numbers.size() >= m_count)
            QFile::remove(fileNamed(folder, numbers.takeFirst()));
        return QDir::toNativeSeparators(path);
    }
    throw Failure(QStringLiteral("They could not be written to a file in %1.")
                      .arg(QDir::toNativeSeparators(m_folders.join(QLatin1String(" or ")))));
}

QString KeptFiles::newest() const
{
    for (const QString& parent : m_folders) {
        const QString folder = folderIn(parent);
        const QList<int> numbers = numbersIn(folder);
        if (!numbers.isEmpty())
            return fileNamed(folder, numbers.last());
    }
    return {};
}
