// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecoveryFiles.h"

#include "Failure.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QString kBaseName = QStringLiteral("Bazaarly searches not saved");
const QString kExtension = QStringLiteral(".txt");

QString freeName(const QDir& folder)
{
    QString name = kBaseName + kExtension;
    for (int n = 2; folder.exists(name); ++n)
        name = kBaseName + QLatin1Char('-') + QString::number(n) + kExtension;
    return folder.filePath(name);
}

// Writes the whole file or nothing: every write is checked, and the file appears only once it is complete.
bool writeWhole(const QString& path, const QByteArray& contents)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size() && file.commit();
}

} // namespace

QString RecoveryFiles::write(const QByteArray& contents) const
{
    for (const QString& folder : m_folders) {
        const QString path = freeName(QDir(folder));
        if (QDir().mkpath(folder) && writeWhole(path, contents))
            return QDir::toNativeSeparators(path);
    }
    throw Failure(QStringLiteral("They could not be written to a file in %1 either.")
                      .arg(QDir::toNativeSeparators(m_folders.join(QLatin1String(" or ")))));
}

QStringList RecoveryFiles::existing() const
{
    QStringList files;
    for (const QString& folder : m_folders) {
        const QDir dir(folder);
        for (const QString& name : dir.entryList({kBaseName + QLatin1Char('*') + kExtension}, QDir::Files, QDir::Name))
            files.append(QDir::toNativeSeparators(dir.filePath(name)));
    }
    return files;
}
