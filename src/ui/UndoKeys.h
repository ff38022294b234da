// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>

#include <functional>

class QLineEdit;
class QWidget;

// The keys that take back and make again the last changes to the search list, anywhere in the window: Ctrl+Z, and
// Ctrl+Y or Ctrl+Shift+Z. A text box keeps them for its own typing while it has typing to take back or to make
// again, as text boxes do everywhere; with none, the keys reach the list from the box too.
class UndoKeys final : public QObject
{
    Q_OBJECT

public:
    UndoKeys(QWidget& window, const QList<QLineEdit*>& boxes, const std::function<void()>& undo,
             const std::function<void()>& redo);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
