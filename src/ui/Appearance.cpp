// SPDX-License-Identifier: GPL-3.0-or-later
#include "Appearance.h"

#include "platform/Contrast.h"
#include "platform/SkinFramework.h"

#include <QFileInfo>
#include <QWidget>

namespace {

bool isOrdinaryVisibleFile(const QString& path)
{
    const QFileInfo file(path);
    return file.isFile() && !file.isHidden();
}

} // namespace

namespace Main {

void ApplySkin(const QString& skinPath, SkinFramework& skin, QWidget& window, const QList<QWidget*>& surfaces)
{
    if (!isOrdinaryVisibleFile(skinPath))
        return;
    // The button face of the user's colour scheme, not the white that the window paints itself.
    const QColor buttonFace = QPalette().color(QPalette::Active, QPalette::Button);
    fixBackground(window, QPalette::Window, buttonFace);
    for (QWidget* widget : surfaces)
        fixBackground(*widget, QPalette::Window, buttonFace);
    skin.loadSkin(skinPath, QString());
    skin.setOptions(skin.options() | SkinFramework::SkinMessageBoxes);
    skin.setUniformStyle(true);
    skin.setSmoothText(true);
    skin.applyWindow(window);
}

} // namespace Main

QIcon programIcon()
{
    return QIcon(QStringLiteral(":/icons/bazaarly.ico"));
}
