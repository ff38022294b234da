// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/look/DesktopCursor.h"

#include <QGuiApplication>
#include <QLibrary>

namespace {

int positiveNumber(const QByteArray& text)
{
    bool isNumber = false;
    const int number = text.trimmed().toInt(&isNumber);
    return isNumber && number > 0 ? number : 0;
}

int xcursorSizeResource()
{
#if QT_CONFIG(xcb)
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 == nullptr || x11->display() == nullptr)
        return 0;
    // Xlib is already loaded by the X11 platform plugin; looking it up here spares the program a link to it.
    using GetDefault = char* (*)(Display*, const char*, const char*);
    const auto getDefault = reinterpret_cast<GetDefault>(QLibrary::resolve(QStringLiteral("X11"), 6, "XGetDefault"));
    return getDefault ? positiveNumber(getDefault(x11->display(), "Xcursor", "size")) : 0;
#else
    return 0;
#endif
}

} // namespace

int desktopCursorSize()
{
    const int fromEnvironment = positiveNumber(qgetenv("XCURSOR_SIZE"));
    return fromEnvironment > 0 ? fromEnvironment : xcursorSizeResource();
}
