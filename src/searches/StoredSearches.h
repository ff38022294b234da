// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <vector>

// The search list as one stored text: every query followed by "|". Inside a query "\" is stored as "\\" and
// "|" as "\|", so that a query holding the engine's OR operator comes back whole; a value holding neither
// character reads exactly as the plain "|"-separated form.
QString joinStoredSearches(const QList<QStringView>& queries);

// The parts of a stored value, read back, laid end to end in one text: a long list costs two allocations
// rather than one per query.
class StoredSearchParts final
{
public:
    qsizetype size() const { return static_cast<qsizetype>(m_ends.size()); }
    // The part at `index` (from 0); valid while this object lives.
    QStringView operator[](qsizetype index) const;

private:
    friend StoredSearchParts splitStoredSearches(QStringView value);
    void endPart() { m_ends.push_back(m_text.size()); }

    QString m_text;
    std::vector<qsizetype> m_ends; // where each part ends in m_text
};

// The parts of a stored value, cut at every "|" that is not escaped, with "\\" and "\|" read back as "\" and
// "|"; a "\" before any other character stays. Empty parts are kept here (the restore skips them): a value
// ending in "|" has an empty last part.
StoredSearchParts splitStoredSearches(QStringView value);

// The value with each half of a character (an unpaired UTF-16 surrogate) replaced by U+FFFD: a settings file
// holds only whole characters. `replaced` is told how many there were.
QString withWholeCharacters(QString value, qsizetype& replaced);
