// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QStringList>

// Files that hold what could not be saved where it belongs, for the user to find: in the first of the folders
// that can take one (the settings folder, then the home folder, when the settings folder is the problem).
class RecoveryFiles final
{
public:
    explicit RecoveryFiles(QStringList folders) : m_folders(std::move(folders)) {}

    // Writes a new recovery file, next to any earlier ones, and says where; a Failure when no folder took it.
    QString write(const QByteArray& contents) const;
    // The recovery files there are, in every folder.
    QStringList existing() const;

private:
    QStringList m_folders;
};
