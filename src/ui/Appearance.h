// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QList>
#include <QString>

class QWidget;
class SkinFramework;

namespace Main {

// The skin file, relative to the application folder; its presence turns the skin on.
inline const QString kSkinFile = QStringLiteral("x/o.cjs");

// When the skin file is an ordinary, visible file: paints the window and the surfaces in it (its frames and its
// label) in the button-face colour, then loads the skin into the window's skin engine and applies it to the window.
// A Failure when the skin cannot be used; colours already set stay.
void ApplySkin(const QString& skinPath, SkinFramework& skin, QWidget& window, const QList<QWidget*>& surfaces);

} // namespace Main

// The program's icon, the same pictures as the executable's own.
QIcon programIcon();
