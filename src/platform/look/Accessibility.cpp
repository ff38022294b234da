// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/look/Accessibility.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QMessageBox>
#include <QWidget>

namespace {

constexpr QLatin1StringView kAnnouncerName{"bazaarly_announcer"};

// The window's announcer, an invisible child that screen readers know as a notification and read out as it
// appears: Orca says what a notification holds when it is shown.
QAccessibleInterface* announcerAsNotification(const QString& className, QObject* object)
{
    if (className != QLatin1String("QWidget") || object->objectName() != kAnnouncerName)
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
}

constexpr char kSpokenMessage[] = "bazaarlySpokenMessage";

// A message box read out by its spoken message: the name is its title, the value its message.
class SpokenMessageBox final : public QAccessibleWidget
{
public:
    explicit SpokenMessageBox(QWidget* box) : QAccessibleWidget(box, QAccessible::AlertMessage) {}

    QString text(QAccessible::Text part) const override
    {
        if (part == QAccessible::Value || part == QAccessible::Description)
            return widget()->property(kSpokenMessage).toString();
        if (part == QAccessible::Name && widget()->accessibleName().isEmpty())
            return widget()->windowTitle();
        return QAccessibleWidget::text(part);
    }
};

QAccessibleInterface* messageBoxBySpokenMessage(const QString& className, QObject* object)
{
    if (className != QLatin1String("QMessageBox") || !object->property(kSpokenMessage).isValid())
        return nullptr;
    return new SpokenMessageBox(static_cast<QWidget*>(object));
}

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

void announce(QWidget& window, const QString& message)
{
    static const bool installed = (QAccessible::installFactory(announcerAsNotification), true);
    Q_UNUSED(installed);
    auto* announcer = window.findChild<QWidget*>(kAnnouncerName, Qt::FindDirectChildrenOnly);
    if (announcer == nullptr) {
        announcer = new QWidget(&window);
        announcer->setObjectName(kAnnouncerName);
        announcer->setAttribute(Qt::WA_TransparentForMouseEvents);
        announcer->setFocusPolicy(Qt::NoFocus);
        announcer->setGeometry(0, 0, 1, 1); // draws nothing: it has no background of its own
    }
    announcer->hide();
    announcer->setAccessibleName(message);
    announcer->show();
}

void setSpokenMessage(QMessageBox& box, const QString& text)
{
    static const bool installed = (QAccessible::installFactory(messageBoxBySpokenMessage), true);
    Q_UNUSED(installed);
    box.setProperty(kSpokenMessage, text);
}
