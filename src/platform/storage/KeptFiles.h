// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QStringList>

// The last few of a kind of file, kept in a folder of their own in the first of `folders` that can take one
// (the settings folder, then the home folder), numbered as they come: each new file lets the oldest go.
class KeptFiles final
{
public:
    KeptFiles(QStringList folders, QString folderName, int count);

    // Writes a new file and says where; a Failure when no folder took it. The oldest files beyond the count go.
    QString keep(const QByteArray& contents) const;
    // The file kept last, in the first folder that has any; empty when there is none.
    QString newest() const;

private:
    // The numbers of the files kept in the folder, lowest first.
    static QList<int> numbersIn(const QString& folder);
    QString folderIn(const QString& folder) const;

    QStringList m_folders;
    QString m_folderName;
    int m_count;
};
