// SPDX-License-Identifier: GPL-3.0-or-later
#include "PushButton.h"

#include <QKeyEvent>

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
