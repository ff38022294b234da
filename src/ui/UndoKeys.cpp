// SPDX-License-Identifier: GPL-3.0-or-later
#include "UndoKeys.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QShortcut>

namespace {

const QKeySequence kUndoKey(Qt::CTRL | Qt::Key_Z);
const QList<QKeySequence> kRedoKeys = {QKeySequence(Qt::CTRL | Qt::Key_Y),
                                       QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};

bool isRedoKey(const QKeySequence& pressed)
{
    return kRedoKeys.contains(pressed);
}

} // namespace

UndoKeys::UndoKeys(QWidget& window, const QList<QLineEdit*>& boxes, const std::function<void()>& undo,
                   const std::function<void()>& redo)
    : QObject(&window)
{
    connect(new QShortcut(kUndoKey, &window), &QShortcut::activated, this, undo);
    for (const QKeySequence& key : kRedoKeys)
        connect(new QShortcut(key, &window), &QShortcut::activated, this, redo);
    for (QLineEdit* box : boxes)
        box->installEventFilter(this);
}

bool UndoKeys::eventFilter(QObject* watched, QEvent* event)
{
    // A text box claims these keys before the window sees them; it gives them up when it has nothing to do with
    // them, so that the window's keys take effect.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* box = static_cast<QLineEdit*>(watched);
        const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
        if ((pressed == kUndoKey && !box->isUndoAvailable()) || (isRedoKey(pressed) && !box->isRedoAvailable())) {
            event->ignore();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
