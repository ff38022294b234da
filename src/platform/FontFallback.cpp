// SPDX-License-Identifier: GPL-3.0-or-later
#include "FontFallback.h"

#include <QFont>
#include <QFontDatabase>
#include <QRegularExpression>

namespace {

const QString kArial = QStringLiteral("Arial");

// Arial's metric-compatible twins first, then the Helvetica clones that share its widths.
const QStringList kMetricCompatibleFaces = {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                            QStringLiteral("Nimbus Sans"),     QStringLiteral("Nimbus Sans L"),
                                            QStringLiteral("TeX Gyre Heros"),  QStringLiteral("FreeSans")};

QString withoutFoundry(QString family)
{
    static const QRegularExpression foundry(QStringLiteral("\\s*\\[[^\\]]*\\]$"));
    return family.remove(foundry);
}

} // namespace

QStringList arialStandIns(const QStringList& installedFamilies)
{
    QStringList installed;
    for (const QString& family : installedFamilies)
        installed.append(withoutFoundry(family));
    if (installed.contains(kArial, Qt::CaseInsensitive))
        return {};
    QStringList standIns;
    for (const QString& face : kMetricCompatibleFaces) {
        if (installed.contains(face, Qt::CaseInsensitive))
            standIns.append(face);
    }
    return standIns;
}

void useArialStandIns()
{
    static const bool done = (QFont::insertSubstitutions(kArial, arialStandIns(QFontDatabase::families())), true);
    Q_UNUSED(done);
}
