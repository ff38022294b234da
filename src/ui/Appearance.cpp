// SPDX-License-Identifier: GPL-3.0-or-later
#include "Appearance.h"

#include "Form1.h"

#include "platform/Contrast.h"
#include "platform/RegularFile.h"
#include "platform/SkinFramework.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>

namespace {

bool isOrdinaryVisibleFile(const QString& path)
{
    return isRegularFile(path) && !QFileInfo(path).isHidden();
}

} // namespace

namespace Main {

void ApplySkin(Form1& window)
{
    const QString skinPath = window.dataFilePath(kSkinFile);
    if (!isOrdinaryVisibleFile(skinPath))
        return;
    // The button face of the user's colour scheme, not the white that the window paints itself.
    const QColor buttonFace = QPalette().color(QPalette::Active, QPalette::Button);
    for (QWidget* widget : std::initializer_list<QWidget*>{&window, window.Frame2, window.Frame1, window.Label1})
        fixBackground(*widget, QPalette::Window, buttonFace);
    SkinFramework& skin = *window.SkinFramework1;
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
