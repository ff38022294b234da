// SPDX-License-Identifier: GPL-3.0-or-later
#include "UrlOpener.h"

#include "Failure.h"

#include <QDesktopServices>
#include <QUrl>

namespace {
// An address is named in the report up to this length; a longer one would fill the screen.
constexpr qsizetype kLongestAddressShown = 200;
} // namespace

void openWithDesktop(const QUrl& address)
{
    if (QDesktopServices::openUrl(address))
        return;
    QString shown = QString::fromLatin1(address.toEncoded()); // as the browser would be given it
    if (shown.size() > kLongestAddressShown)
        shown = shown.left(kLongestAddressShown) + QStringLiteral("...");
    throw Failure(QStringLiteral("The address %1 could not be opened: the desktop has no program that opens it, "
                                 "or the address is too long to hand over.")
                      .arg(shown));
}
