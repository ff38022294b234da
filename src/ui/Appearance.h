// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QString>

class Form1;

namespace Main {

// The skin file, relative to the application folder; its presence turns the skin on.
inline const QString kSkinFile = QStringLiteral("x/o.cjs");

// When the skin file is an ordinary, visible file: paints the window, its frames and its label in the
// button-face colour, then loads the skin into the window's skin engine and applies it to the window.
// A Failure when the skin cannot be used; colours already set stay.
void ApplySkin(Form1& window);

} // namespace Main

// The program's icon, the same pictures as the executable's own.
QIcon programIcon();
