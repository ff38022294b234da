// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/controls/PushButton.h"

#include <QKeyEvent>
#include <QPainter>

namespace {

// How far inside the button's edge the focus rectangle runs, clear of the frames that styles draw.
constexpr int kFocusInset = 4;

} // namespace

PushButton::PushButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent)
{
    setAutoDefault(false);
    setDefault(false);
    setMouseTracking(true);
}

void PushButton::keyPressEvent(QKeyEvent* event)
{
    const bool isEnter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (isEnter && modifiers == Qt::NoModifier && !event->isAutoRepeat()) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void PushButton::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved();
    QPushButton::mouseMoveEvent(event);
}

void PushButton::paintEvent(QPaintEvent* event)
{
    QPushButton::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::ButtonText), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(kFocusInset, kFocusInset, -kFocusInset - 1, -kFocusInset - 1));
}
