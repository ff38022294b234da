#include "Accessibility.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QApplication>
#include <QMessageBox>
#include <QWidget>

namespace {

// The message a widget stands for while it holds the focus, and the description it gets back afterwards.
class Announcement final : public QObject
{
public:
    Announcement(QWidget& speaker, const QString& message)
        : QObject(&speaker), m_speaker(&speaker), m_ownDescription(speaker.accessibleDescription())
    {
        setObjectName(kObjectName);
        speaker.setAccessibleDescription(message);
        connect(qApp, &QApplication::focusChanged, this, &Announcement::end);
    }
    static Announcement* of(QWidget& speaker)
    {
        return static_cast<Announcement*>(speaker.findChild<QObject*>(kObjectName, Qt::FindDirectChildrenOnly));
    }
    void say(const QString& message) { m_speaker->setAccessibleDescription(message); }

private:
    static constexpr QLatin1StringView kObjectName{"bazaarly_announcement"};

    void end()
    {
        if (!m_speaker)
            return;
        m_speaker->setAccessibleDescription(m_ownDescription);
        m_speaker = nullptr;
        setParent(nullptr); // a new message finds no ended announcement
        deleteLater();
    }

    QWidget* m_speaker;
    QString m_ownDescription;
};

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

void announce(const QString& message)
{
    QWidget* speaker = QApplication::focusWidget();
    if (speaker == nullptr)
        return;
    if (Announcement* earlier = Announcement::of(*speaker))
        earlier->say(message);
    else
        new Announcement(*speaker, message);
}

void setSpokenMessage(QMessageBox& box, const QString& text)
{
    static const bool installed = (QAccessible::installFactory(messageBoxBySpokenMessage), true);
    Q_UNUSED(installed);
    box.setProperty(kSpokenMessage, text);
}
