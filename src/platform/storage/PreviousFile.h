// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A file as it was before it is replaced, kept under another name until the new contents are known to be
// whole: put back when they are not, let go when they are. QSettings replaces its file even after a write that
// ran out of room, so this is what keeps a full disk, a file size limit or a quota from costing the old file.
class PreviousFile final
{
public:
    // Keeps `file` as it is now; a Failure when it exists and cannot be kept.
    explicit PreviousFile(const QString& file);
    ~PreviousFile();
    PreviousFile(const PreviousFile&) = delete;
    PreviousFile& operator=(const PreviousFile&) = delete;

    // Puts the file back as it was (no file, when there was none); false when that could not be done, and the
    // file as it was then stays where keptAt() says.
    bool putBack();
    QString keptAt() const { return m_kept; }

private:
    QString m_file;
    QString m_kept; // empty when there was no file to keep
    bool m_stays = false;
};
