#pragma once

#include <QString>
#include <QStringList>

// The search list as one stored text: every query followed by "|". Inside a query "\" is stored as "\\" and
// "|" as "\|", so that a query holding the engine's OR operator comes back whole; a value holding neither
// character reads exactly as the plain "|"-separated form.
QString joinStoredSearches(const QStringList& queries);

// The parts of a stored value, cut at every "|" that is not escaped, with "\\" and "\|" read back as "\" and
// "|"; a "\" before any other character stays. Empty parts are kept here (the restore skips them): a value
// ending in "|" has an empty last part.
QStringList splitStoredSearches(const QString& value);
