// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/look/FontFallback.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>

namespace {

const QString kArial = QStringLiteral("Arial");

// Arial's metric-compatible twins first, then the Helvetica clones that share its widths.
const QStringList kMetricCompatibleFaces = {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                            QStringLiteral("Nimbus Sans"),     QStringLiteral("Nimbus Sans L"),
                                            QStringLiteral("TeX Gyre Heros"),  QStringLiteral("FreeSans")};

// The family's name without the foundry Qt adds in brackets at its end ("Arimo [GOOG]"), and the blanks before
// it. Looked at by hand: it runs for every installed family at each start, where a regular expression cost more
// than the rest of the start-up's own steps.
QStringView withoutFoundry(QStringView family)
{
    if (!family.endsWith(u']'))
        return family;
    const QStringView inside = family.chopped(1);
    const qsizetype open = inside.indexOf(u'[', inside.lastIndexOf(u']') + 1);
    if (open < 0)
        return family;
    QStringView name = family.first(open);
    while (!name.isEmpty() && name.back().isSpace())
        name.chop(1);
    return name;
}

} // namespace

QStringList arialStandIns(const QStringList& installedFamilies)
{
    QStringList installed;
    for (const QString& family : installedFamilies)
        installed.append(withoutFoundry(family).toString());
    if (installed.contains(kArial, Qt::CaseInsensitive))
        return {};
    QStringList standIns;
    for (const QString& face : kMetricCompatibleFaces) {
        if (installed.contains(face, Qt::CaseInsensitive))
            standIns.append(face);
    }
    return standIns;
}

bool arialNeedsStandIns(const QStringList& standIns, QStringView drawnFamily)
{
    return !standIns.isEmpty() && withoutFoundry(drawnFamily).compare(standIns.first(), Qt::CaseInsensitive) != 0;
}

void useArialStandIns(const QFont& arial)
{
    static const bool done = [&arial] {
        const QStringList standIns = arialStandIns(QFontDatabase::families());
        if (arialNeedsStandIns(standIns, QFontInfo(arial).family()))
            QFont::insertSubstitutions(kArial, standIns);
        return true;
    }();
    Q_UNUSED(done);
}
