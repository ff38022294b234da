// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/storage/PreviousFile.h"

#include "platform/base/Failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace {

const QString kKeptSuffix = QStringLiteral(".previous");

std::filesystem::path filesystemPath(const QString& path)
{
    return QFileInfo(path).filesystemAbsoluteFilePath();
}

} // namespace

PreviousFile::PreviousFile(const QString& file) : m_file(file)
{
    if (!QFileInfo::exists(file))
        return;
    const QString kept = file + kKeptSuffix;
    QFile::remove(kept); // left behind by a program that died while saving; the file itself is whole
    // A second link to the same file costs no room, which a full disk does not have; a copy where the file
    // system has no links.
    std::error_code error;
    std::filesystem::create_hard_link(filesystemPath(file), filesystemPath(kept), error);
    if (error && !QFile::copy(file, kept)) {
        QFile::remove(kept);
        throw Failure(QStringLiteral("The settings store %1 cannot be written: the list stored before could not "
                                     "be kept in %2 while the new one is written.")
                          .arg(QDir::toNativeSeparators(file), QDir::toNativeSeparators(kept)));
    }
    m_kept = kept;
}

PreviousFile::~PreviousFile()
{
    if (!m_kept.isEmpty() && !m_stays)
        QFile::remove(m_kept);
}

bool PreviousFile::putBack()
{
    if (m_kept.isEmpty())
        return !QFileInfo::exists(m_file) || QFile::remove(m_file);
    std::error_code error;
    std::filesystem::rename(filesystemPath(m_kept), filesystemPath(m_file), error);
    if (error) {
        m_stays = true;
        return false;
    }
    // Where the file was never replaced (a save refused before it began) both names are links to it, and the
    // rename does nothing: the kept name goes too.
    QFile::remove(m_kept);
    m_kept.clear();
    return true;
}
