// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/look/SteadyCursor.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QStyleHints>

#include <algorithm>

SteadyCursorForLongText::SteadyCursorForLongText(const QList<QLineEdit*>& boxes, QObject* parent)
    : QObject(parent), m_boxes(boxes), m_desktopFlashTime(QGuiApplication::styleHints()->cursorFlashTime())
{
    for (QLineEdit* box : boxes) {
        box->installEventFilter(this);
        connect(box, &QLineEdit::textChanged, this, &SteadyCursorForLongText::follow);
    }
}

SteadyCursorForLongText::~SteadyCursorForLongText()
{
    QGuiApplication::styleHints()->setCursorFlashTime(m_desktopFlashTime);
}

bool SteadyCursorForLongText::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
        follow();
    return QObject::eventFilter(watched, event);
}

void SteadyCursorForLongText::follow()
{
    const bool steady = std::any_of(m_boxes.begin(), m_boxes.end(), [](const QLineEdit* box) {
        return box->hasFocus() && box->text().size() > kLongestBlinkingText;
    });
    // The flash time is the application's, so it is only written when it has to change.
    const int flashTime = steady ? 0 : m_desktopFlashTime;
    if (QGuiApplication::styleHints()->cursorFlashTime() != flashTime)
        QGuiApplication::styleHints()->setCursorFlashTime(flashTime);
}
