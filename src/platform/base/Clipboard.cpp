// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/base/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

void putOnClipboard(const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
}
