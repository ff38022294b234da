#include "PushButton.h"

PushButton::PushButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent)
{
    setAutoDefault(false);
    setDefault(false);
    setMouseTracking(true);
}

void PushButton::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved();
    QPushButton::mouseMoveEvent(event);
}
