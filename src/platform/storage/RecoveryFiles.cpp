// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/storage/RecoveryFiles.h"

#include "platform/base/Failure.h"
#include "platform/storage/WholeFile.h"

#include <QDir>
#include <QFileInfo>

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

// A name the program may have given a recovery file, in any case as a name filter would take it. Compared by hand
// rather than through a filter, which compiles a regular expression at every start.
bool isRecoveryFileName(const QString& name)
{
    return name.size() >= kBaseName.size() + kExtension.size() && name.startsWith(kBaseName, Qt::CaseInsensitive) &&
           name.endsWith(kExtension, Qt::CaseInsensitive);
}

} // namespace

QString RecoveryFiles::write(const QByteArray& contents) const
{
    for (const QString& folder : m_folders) {
        const QString path = freeName(QDir(folder));
        if (QDir().mkpath(folder) && writeWholeFile(path, contents))
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
        for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
            if (isRecoveryFileName(name))
                files.append(QDir::toNativeSeparators(dir.filePath(name)));
        }
    }
    return files;
}
