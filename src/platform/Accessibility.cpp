// SPDX-License-Identifier: GPL-3.0-or-later
#include "Accessibility.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QWidget>

namespace {

// Qt asks the factories once for each class of an object, the most derived first, so dialogs and message boxes
// are answered by their own classes before this one is asked about "QWidget".
QAccessibleInterface* plainWindowAsFrame(const QString& className, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (className != QLatin1String("QWidget") || widget == nullptr || !widget->isWindow())
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Window); // AT-SPI speaks of this role as "frame"
}

} // namespace

void presentPlainWindowsAsFrames()
{
    static const bool installed = (QAccessible::installFactory(plainWindowAsFrame), true);
    Q_UNUSED(installed);
}

void announceCurrentItem(QAbstractItemView& view)
{
    const QModelIndex current = view.currentIndex();
    if (!QAccessible::isActive() || !current.isValid())
        return;
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&view);
    QAccessibleTableInterface* table = list != nullptr ? list->tableInterface() : nullptr;
    if (QAccessibleInterface* item = table != nullptr ? table->cellAt(current.row(), current.column()) : nullptr) {
        QAccessibleEvent focus(item, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
}
