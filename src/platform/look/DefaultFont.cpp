// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/look/DefaultFont.h"

#include <QEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QWidget>

namespace {

class DesktopFontFollower final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ThemeChange)
            QGuiApplication::setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

// QGuiApplication's, not QApplication's: the latter also forgets the fonts the desktop gives menus and tooltips.
ScopedDefaultFont::ScopedDefaultFont(const QFont& font) : m_previous(QGuiApplication::font())
{
    QGuiApplication::setFont(font);
}

ScopedDefaultFont::~ScopedDefaultFont()
{
    QGuiApplication::setFont(m_previous);
}

void followDesktopFont(QWidget& window)
{
    window.installEventFilter(new DesktopFontFollower(&window));
}
