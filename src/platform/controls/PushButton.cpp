// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/controls/PushButton.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionButton>

namespace {

// How far inside the button's edge the focus rectangle runs, clear of the frames that styles draw.
constexpr int kFocusInset = 4;

// The style keeps a picture of a button face for each size, state and palette, and tells palettes apart by their
// data rather than their colours. Each button holds its own copy of the same colours, so each was drawn afresh
// (1.8 million instructions of the first paint); buttons whose colours are the same now hand the style one copy.
const QPalette& sharedCopyOf(const QPalette& colours)
{
    static QPalette shared;
    if (!(shared == colours))
        shared = colours;
    return shared;
}

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

void PushButton::initStyleOption(QStyleOptionButton* option) const
{
    QPushButton::initStyleOption(option);
    // The colour group in use (active, inactive, disabled) belongs to each copy, not to the colours it shares.
    const QPalette::ColorGroup group = option->palette.currentColorGroup();
    option->palette = sharedCopyOf(option->palette);
    option->palette.setCurrentColorGroup(group);
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
